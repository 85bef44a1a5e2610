# Plan configuration and entitlements.

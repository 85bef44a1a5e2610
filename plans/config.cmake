# Plan configuration, the folder chooser and the entitlement windows.

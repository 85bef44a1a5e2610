# The plan overview and the leave editor.

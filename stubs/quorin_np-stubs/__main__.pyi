# `python -m quorin_np` runs the `quorin` command; the module has nothing to import.

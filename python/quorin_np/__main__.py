"""`python -m quorin_np`: the `quorin` command."""

if __name__ == "__main__":
    from ._cli import console

    console()

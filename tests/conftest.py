import os
import sys

# Lets `from exact import assert_same` work from every test module.
sys.path.insert(0, os.path.dirname(__file__))

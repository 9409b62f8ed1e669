# Configuration file and port dialog tests.

print("one")

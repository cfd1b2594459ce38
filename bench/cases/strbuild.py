# String building: 20,000 appends to the end of one text.
def main():
    s = ""
    for i in range(1, 20001):
        s += "item" + str(i) + ";"
    print(len(s), s[-10:])


main()

# While loop of 200,000 rounds around an if / elif / else chain.
def main():
    i = 0
    a = b = c = d = 0
    while i < 200000:
        i = i + 1
        if i % 4 == 0:
            a = a + 1
        elif i % 4 == 1:
            b = b + 1
        elif i % 4 == 2:
            c = c + 1
        else:
            d = d + i
    print(a, b, c, d)


main()

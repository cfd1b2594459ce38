# Text comparisons: 100,000 rounds of an equality and an ordering test.
# The maqo script compares without regard to letter case, so both sides are
# upper-cased here.
def main():
    w = ["apple", "banana", "Cherry", "apricot", "APPLE"]
    e = l = g = 0
    for i in range(100000):
        x = w[i % 5].upper()
        if x == "APPLE":
            e = e + 1
        elif x < "BANANA":
            l = l + 1
        else:
            g = g + 1
    print(e, l, g)


main()

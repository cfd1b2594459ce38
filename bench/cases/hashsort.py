# Sorted table: 50,000 keyed writes, then every value read by its position in
# key order. Python has no sorted dictionary, so the keys are sorted once
# before the positional reads.
def main():
    h = {}
    for i in range(1, 50001):
        h["K" + str(i)] = i
    keys = sorted(h)
    s = 0
    for i in range(50000):
        s = s + h[keys[i]]
    print(len(h), keys[0], keys[49999], s)


main()

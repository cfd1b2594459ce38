# Dictionary in insertion order: 50,000 keyed writes, then 50,000 keyed reads.
def main():
    h = {}
    for i in range(1, 50001):
        h["K" + str(i)] = i
    s = 0
    for i in range(1, 50001):
        s = s + h["K" + str(i)]
    print(len(h), s)


main()

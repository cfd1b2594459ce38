# Builtin calls: 100,000 rounds of a substring, its length and a search.
def main():
    t = "The quick brown fox jumps over the lazy dog"
    n = 0
    for i in range(100000):
        k = i % 40
        n = n + len(t[k:k + 3]) + t.find("fox") + 1
    print(n)


main()

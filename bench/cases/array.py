# Preallocated list: 100,000 element writes, then 100,000 reads.
def main():
    a = [None] * 100000
    for i in range(100000):
        a[i] = i * 2
    s = 0
    for i in range(100000):
        s = s + a[i]
    print(s)


main()

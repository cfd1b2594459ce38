# Join of a 1,000,000-element list into one text, split of that text back
# into a list, and join of that list.
def main():
    a = [None] * 1000000
    for i in range(1000000):
        a[i] = i
    t = ",".join(str(v) for v in a)
    b = t.split(",")
    t2 = ";".join(b)
    print(len(t), len(b), b[999999], len(t2))


main()

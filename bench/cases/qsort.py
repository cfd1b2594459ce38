# Sort of 1,000,000 pseudo-random numbers (a multiplicative generator whose
# products stay exact in doubles).
def main():
    a = [0] * 1000000
    x = 42
    for i in range(1000000):
        x = (x * 16807) % 2147483647
        a[i] = x
    a.sort()
    print(a[0], a[500000], a[999999])


main()

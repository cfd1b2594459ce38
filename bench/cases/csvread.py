# CSV reading with the csv module: every field of 100,000 lines x 20 fields.
# Odd fields are numbers (summed); even fields are texts (lengths summed),
# the last one quoted with a comma inside.
import csv


def main():
    n = s = t = 0
    with open("bench.csv", newline="") as f:
        for row in csv.reader(f):
            n = n + 1
            for c in range(0, 20, 2):
                s = s + int(row[c])
                t = t + len(row[c + 1])
    print(n, s, t)


main()

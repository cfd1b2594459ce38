# Caught errors: 100,000 remainders by zero, each caught by try / except.
def main():
    n = 0
    z = 0
    msg = ""
    for i in range(1, 100001):
        try:
            x = i % z  # noqa: F841
        except ZeroDivisionError as e:
            n = n + 1
            msg = str(e)
    print(n, 1 if len(msg) > 0 else 0)


main()

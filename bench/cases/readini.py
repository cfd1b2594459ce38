# 1,000 INI look-ups on a 1,000-line INI file, each reading the file anew as
# a per-call INI read does. The standard library's parser builds a whole
# dictionary per read, so a plain line scan does the same look-up instead.
def read_ini(section, key, path):
    section = section.strip().upper()
    key = key.strip().upper()
    found = False
    with open(path, encoding="ascii") as f:
        for line in f:
            line = line.strip()
            if not line:
                continue
            if line.startswith("[") and line.endswith("]"):
                if found:
                    return ""
                found = line[1:-1].strip().upper() == section
                continue
            if found:
                name, _, value = line.partition("=")
                if name.strip().upper() == key:
                    value = value.strip()
                    if len(value) >= 2 and value[0] == '"' and value[-1] == '"':
                        value = value[1:-1]
                    return value
    return ""


def main():
    s = 0
    for i in range(1000):
        s = s + int(read_ini("S" + str(i % 50 + 1), "K" + str(i % 18 + 1), "bench.ini"))
    print(s)


main()

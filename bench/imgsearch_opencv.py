"""OpenCV's matchTemplate on the same pictures as imgsearch_bench: the median
milliseconds of one search (matchTemplate plus the scan of its result for
every position at or below the threshold) over the rounds.
   imgsearch_opencv.py SCREEN.bmp TEMPLATE.bmp TOLERANCE ROUNDS
TOLERANCE 0 counts matches (squared difference 0, give or take rounding);
otherwise the positions within the squared-difference bound of the largest
channel tolerance (a looser test than the per-channel one, so its count may
be higher)."""
import sys
import time

import cv2
import numpy as np


def main():
    screen = cv2.imread(sys.argv[1], cv2.IMREAD_COLOR)
    template = cv2.imread(sys.argv[2], cv2.IMREAD_COLOR)
    tolerance = int(sys.argv[3], 0)
    rounds = max(int(sys.argv[4]), 1)
    per_channel = max(tolerance & 0xFF, (tolerance >> 8) & 0xFF, (tolerance >> 16) & 0xFF)
    # matchTemplate sums in single precision: allow rounding of the order of
    # the template's energy, or an exact match would read as a miss.
    energy = float(np.sum(template.astype(np.float64) ** 2))
    bound = float(per_channel * per_channel * template.size) + max(0.5, 1e-5 * energy)
    times = []
    hits = 0
    for _ in range(rounds):
        start = time.perf_counter()
        result = cv2.matchTemplate(screen, template, cv2.TM_SQDIFF)
        hits = int(np.count_nonzero(result <= bound))
        times.append((time.perf_counter() - start) * 1000)
    times.sort()
    print(f"{hits} {times[len(times) // 2]:.3f}")


if __name__ == "__main__":
    main()

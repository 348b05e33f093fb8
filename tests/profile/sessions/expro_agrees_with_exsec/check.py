# Both commands wrote the same non-empty profile, by ascending station.
import sys
work = sys.argv[1]
expro = open(f"{work}/expro.pfl", "rb").read()
exsec = open(f"{work}/exsec.pfl", "rb").read()
assert expro == exsec and expro, (expro, exsec)
stations = [float(line.split()[0]) for line in expro.decode().splitlines()]
assert stations == sorted(stations), stations
assert len(stations) > 10, stations

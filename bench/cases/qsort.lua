-- Sort of 1,000,000 pseudo-random numbers (a multiplicative generator whose
-- products stay exact in doubles).
local a = {}
local x = 42
for i = 1, 1000000 do
  x = (x * 16807) % 2147483647
  a[i] = x
end
table.sort(a)
print(a[1] .. " " .. a[500001] .. " " .. a[1000000])

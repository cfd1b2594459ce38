-- Table used as an array: 100,000 element writes, then 100,000 reads.
local a = {}
for i = 0, 99999 do
  a[i] = i * 2
end
local s = 0
for i = 0, 99999 do
  s = s + a[i]
end
print(s)

-- Table used as a hash: 50,000 keyed writes, then 50,000 keyed reads.
-- Lua tables keep no entry count, so the entries are counted with pairs.
local h = {}
for i = 1, 50000 do
  h["K" .. i] = i
end
local s = 0
for i = 1, 50000 do
  s = s + h["K" .. i]
end
local n = 0
for _ in pairs(h) do
  n = n + 1
end
print(n .. " " .. s)

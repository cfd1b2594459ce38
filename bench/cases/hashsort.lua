-- Sorted table: 50,000 keyed writes, then every value read by its position
-- in key order. Lua has no sorted table, so the keys are collected and
-- sorted once before the positional reads.
local h = {}
for i = 1, 50000 do
  h["K" .. i] = i
end
local keys = {}
for k in pairs(h) do
  keys[#keys + 1] = k
end
table.sort(keys)
local s = 0
for i = 1, 50000 do
  s = s + h[keys[i]]
end
print(#keys .. " " .. keys[1] .. " " .. keys[50000] .. " " .. s)

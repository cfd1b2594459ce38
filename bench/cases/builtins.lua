-- Builtin calls: 100,000 rounds of a substring, its length and a search.
local t = "The quick brown fox jumps over the lazy dog"
local n = 0
for i = 0, 99999 do
  local k = i % 40 + 1
  n = n + #string.sub(t, k, k + 2) + string.find(t, "fox", 1, true)
end
print(n)

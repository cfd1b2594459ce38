-- Text comparisons: 100,000 rounds of an equality and an ordering test.
-- The maqo script compares without regard to letter case, so both sides are
-- upper-cased here.
local w = { "apple", "banana", "Cherry", "apricot", "APPLE" }
local e, l, g = 0, 0, 0
for i = 0, 99999 do
  local x = string.upper(w[i % 5 + 1])
  if x == "APPLE" then
    e = e + 1
  elseif x < "BANANA" then
    l = l + 1
  else
    g = g + 1
  end
end
print(e .. " " .. l .. " " .. g)

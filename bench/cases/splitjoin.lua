-- Join of a 1,000,000-element table into one text, split of that text back
-- into a table, and join of that table. Lua has no split function, so the
-- text is cut with gmatch.
local a = {}
for i = 1, 1000000 do
  a[i] = i - 1
end
local t = table.concat(a, ",")
local b = {}
local n = 0
for v in string.gmatch(t, "[^,]+") do
  n = n + 1
  b[n] = v
end
local t2 = table.concat(b, ";")
print(#t .. " " .. n .. " " .. b[n] .. " " .. #t2)

-- String building: 20,000 appends to the end of one text.
local s = ""
for i = 1, 20000 do
  s = s .. "item" .. i .. ";"
end
print(#s .. " " .. string.sub(s, -10))

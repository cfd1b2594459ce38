-- While loop of 200,000 rounds around an if / elseif / else chain.
local i = 0
local a, b, c, d = 0, 0, 0, 0
while i < 200000 do
  i = i + 1
  if i % 4 == 0 then
    a = a + 1
  elseif i % 4 == 1 then
    b = b + 1
  elseif i % 4 == 2 then
    c = c + 1
  else
    d = d + i
  end
end
print(a .. " " .. b .. " " .. c .. " " .. d)

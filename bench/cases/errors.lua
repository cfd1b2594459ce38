-- Caught errors: 100,000 remainders by zero, each caught by pcall (integer
-- remainder by zero is an error in Lua).
local function remainder(i, z)
  return i % z
end
local n = 0
local z = 0
local msg = ""
for i = 1, 100000 do
  local ok, err = pcall(remainder, i, z)
  if not ok then
    n = n + 1
    msg = err
  end
end
print(n .. " " .. (#msg > 0 and 1 or 0))

-- 1,000 INI look-ups on a 1,000-line INI file, each reading the file anew as
-- a per-call INI read does. Lua has no INI reader, so the file is scanned
-- line by line.
local function trim(s)
  return (string.match(s, "^%s*(.-)%s*$"))
end

local function read_ini(section, key, path)
  section = string.upper(trim(section))
  key = string.upper(trim(key))
  local found = false
  local result = ""
  local f = assert(io.open(path, "r"))
  for line in f:lines() do
    line = trim(line)
    if line ~= "" then
      if string.sub(line, 1, 1) == "[" and string.sub(line, -1) == "]" then
        if found then
          break
        end
        found = string.upper(trim(string.sub(line, 2, -2))) == section
      elseif found then
        local eq = string.find(line, "=", 1, true)
        local name, value = "", line
        if eq then
          name, value = string.sub(line, 1, eq - 1), string.sub(line, eq + 1)
        end
        if string.upper(trim(name)) == key then
          result = trim(value)
          if #result >= 2 and string.sub(result, 1, 1) == '"' and string.sub(result, -1) == '"' then
            result = string.sub(result, 2, -2)
          end
          break
        end
      end
    end
  end
  f:close()
  return result
end

local s = 0
for i = 0, 999 do
  s = s + tonumber(read_ini("S" .. (i % 50 + 1), "K" .. (i % 18 + 1), "bench.ini"))
end
print(s)

-- Records what the restricted state offers, for the engine suite to read from the globals.
local present = {}
local names = {"io", "debug", "package", "require", "module", "dofile", "loadfile", "print",
               "os.execute", "os.exit", "os.remove", "os.rename", "os.getenv", "os.tmpname"}
for _, name in ipairs(names) do
  local value = _G
  for part in string.gmatch(name, "[^.]+") do value = type(value) == "table" and value[part] or nil end
  if value ~= nil then present[#present + 1] = name end
end
_G.offered = table.concat(present, ",")
_G.usable = type(string.format) == "function" and type(table.concat) == "function" and type(math.floor) == "function"
            and type(os.time) == "function" and type(loadstring) == "function"
_G.helper = XLLoadModule("layout/luacode/UIHelper.lua")

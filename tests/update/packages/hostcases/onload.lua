-- Drives update.CustomClass and shows what the listeners saw in the label "out".
local window = XLUI.LoadWindow("layout/main.xml")
local obj = XLGetObject("update.CustomClass.Factory"):CreateInstance()
local seen = {}
local function recorder(tag) return function(value) seen[#seen + 1] = tag .. tostring(value) end end

local twice = recorder("b")
obj:AttachResultListener(recorder("a"))
obj:AttachResultListener(twice)
obj:AttachResultListener(twice)
local attachedLate = false
obj:AttachResultListener(function(value)
  seen[#seen + 1] = "c" .. value
  if not attachedLate then
    attachedLate = true
    obj:AttachResultListener(recorder("late"))
  end
end)
obj:AttachResultListener(42)                  -- not a function: not registered
obj:AttachResultListener(recorder("x"), 99)   -- a further argument above the function
local sum = obj:Add(2, 3)
local zero = obj:Add("two", {})

local logs = {}
obj:AttachLogListener(function(text) logs[#logs + 1] = "[" .. text .. "]" end)
obj:AttachLogListener("not a function")
local logResult = obj:Log()

-- A method called on a value of another class is refused.
local refused = not pcall(obj.Add, window, 1, 2)

window:Control("out"):SetText(string.format("sum=%s zero=%s results=%s logs=%s same=%s refused=%s",
  tostring(sum), tostring(zero), table.concat(seen, ","), table.concat(logs, ","),
  tostring(logResult == obj), tostring(refused)))
window:OnClose(function() obj:Quit() end)
window:Show()

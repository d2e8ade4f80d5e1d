-- A timer that fails on every tick; the label counts the ticks, so a test sees that ticks go on while the
-- first error's box is open.
local window = XLUI.LoadWindow("layout/main.xml")
local ticks = 0
window:SetTimer(30, function()
  ticks = ticks + 1
  window:Control("out"):SetText("ticks=" .. ticks)
  error("tick " .. ticks)
end)
window:Show()

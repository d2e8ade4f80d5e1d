calls = 0
function Process(first, second)
  calls = calls + 1
  return first .. "|" .. second .. "|" .. calls
end
function Fail(text) error("failing on purpose: " .. text) end

-- The updater's flow: checking -> change log -> downloading -> installing -> done, or failed / up to date.
-- The change-log request ends the running timer, so every way out starts it again (Run) before Quit.

local window, updater
local state
local watchdog
local leaving = false

-- No progress for this long while downloading counts as a failed download.
local STALL_MS = 120000

local function control(id) return window:Control(id) end

local function show(ids, visible)
  for _, id in ipairs(ids) do control(id):SetVisible(visible) end
end

local function stopWatchdog()
  if watchdog then window:KillTimer(watchdog) end
  watchdog = nil
end

-- Runs f once after ms milliseconds.
local function after(ms, f)
  local id
  id = window:SetTimer(ms, function() window:KillTimer(id); f() end)
end

local STATES = {
  checking = {status = "正在检查更新…", detail = "正在连接更新服务器，请稍候"},
  changelog = {status = "发现新版本", log = true, button = "update"},
  downloading = {status = "正在下载更新…", detail = "下载完成后将自动安装", progress = true},
  installing = {status = "正在安装更新…", detail = "正在替换程序文件，请勿关闭电脑", progress = true},
  done = {status = "更新完成", detail = "点击“完成”重新启动定时关机", button = "finish", finish = "完成"},
  uptodate = {status = "已是最新版本", detail = "您的定时关机无需更新", button = "finish", finish = "关闭"},
  failed = {status = "更新失败", button = "finish", finish = "关闭"},
}

local function setState(name, detail)
  local s = STATES[name]
  state = name
  control("status"):SetText(s.status)
  control("detail"):SetText(detail or s.detail or "")
  control("detail"):SetVisible(not s.log)
  control("log"):SetVisible(s.log == true)
  show({"bar", "percent"}, s.progress == true)
  control("update"):SetVisible(s.button == "update")
  control("finish"):SetVisible(s.button == "finish")
  if s.finish then control("finish"):SetText(s.finish) end
  if name ~= "downloading" then stopWatchdog() end
end

-- Every exit: the timer is started again, then the updater ends.
function Leave()
  if leaving then return end
  leaving = true
  updater:Run()
  updater:Quit()
end

local function armWatchdog()
  stopWatchdog()
  watchdog = window:SetTimer(STALL_MS, function()
    setState("failed", "下载中断，请检查网络后重试")
  end)
end

local function onLog(text)
  if state ~= "checking" then return end
  if text == nil or text == "" then
    setState("failed", "无法获取更新信息，请稍后再试")
    return
  end
  control("log"):SetText(text)
  setState("changelog")
end

local function startDownload()
  if state ~= "changelog" then return end
  setState("downloading")
  control("bar"):SetProgress(0)
  control("percent"):SetText("0%")
  armWatchdog()
  updater:Update()
end

local function install()
  setState("installing")
  control("bar"):SetProgress(100)
  after(50, function()
    updater:KillProcess()
    setState("done")
  end)
end

-- Download progress: first is the overall percent, second "1" once anything was downloaded in this run;
-- "-1" tells that the download or the installation failed.
function Process(first, second)
  if first == "-1" and state ~= "changelog" and state ~= "checking" then
    setState("failed", "文件未能全部更新，请稍后重新安装")
    return
  end
  if state ~= "downloading" then return end
  local percent = math.max(0, math.min(100, tonumber(first) or 0))
  control("bar"):SetProgress(percent)
  control("percent"):SetText(string.format("%d%%", percent))
  armWatchdog()
  if percent >= 100 then
    if second == "1" then install() else setState("uptodate") end
  end
end

function Start()
  window = XLUI.LoadWindow("layout/main.xml")
  updater = XLGetObject("update.CustomClass.Factory"):CreateInstance()
  updater:AttachLogListener(onLog)
  window:OnClose(Leave)
  control("close"):OnClick(Leave)
  control("finish"):OnClick(Leave)
  control("minimise"):OnClick(function() window:Minimize() end)
  control("update"):OnClick(startDownload)
  setState("checking")
  window:Show()
  -- The change-log request blocks the UI thread: it starts once the window has been drawn.
  after(30, function() updater:Log() end)
end

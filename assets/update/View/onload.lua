-- The package's entry script: the updater's window and its flow live in UIHelper.lua.
XLLoadModule("layout/luacode/UIHelper.lua").Start()

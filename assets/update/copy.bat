@echo off
rem Puts the updater's new executable in place once the updater has ended. While it runs its file cannot
rem be overwritten, so the copy is tried again about once a second, for at most two minutes.
if not exist "Temp\Update\Update.exe" goto end
set tries=0
:retry
copy /y "Temp\Update\Update.exe" "Update.exe" >nul 2>nul
if not errorlevel 1 goto end
set /a tries+=1
if %tries% geq 120 goto end
ping -n 2 127.0.0.1 >nul
goto retry
:end

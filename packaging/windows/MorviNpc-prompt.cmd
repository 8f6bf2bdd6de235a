@echo off
rem The command prompt of MorviNpc: morvinpc (bin\morvinpc.exe) on the PATH, in the window's working folder
rem (%APPDATA%\MorviNpc), so morvinpc finds the window's MorviConfig.ini.
set "PATH=%~dp0bin;%PATH%"
if not exist "%APPDATA%\MorviNpc" mkdir "%APPDATA%\MorviNpc"
cd /d "%APPDATA%\MorviNpc"
morvinpc --version
echo Type "morvinpc --help" for the commands.

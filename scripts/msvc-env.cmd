@echo off
rem Runs a command in the 64-bit MSVC developer environment, as a
rem Developer Command Prompt would:  msvc-env.cmd cmake --preset windows-msvc
setlocal
set "vswhere=%ProgramFiles(x86)%\Microsoft Visual Studio\Installer\vswhere.exe"
for /f "usebackq tokens=*" %%i in (`"%vswhere%" -latest -products * -requires Microsoft.VisualStudio.Component.VC.Tools.x86.x64 -property installationPath`) do set "vs=%%i"
if not defined vs (
  echo msvc-env: no Visual Studio with the C++ tools found 1>&2
  exit /b 1
)
call "%vs%\VC\Auxiliary\Build\vcvars64.bat" >nul || exit /b 1
%*

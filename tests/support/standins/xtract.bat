@echo off
rem Stand-in for the wad extraction batch file in tests: appends one line to
rem the log (TAB-separated: name, its own invocation and arguments as typed,
rem working folder, first argument as typed) and ends. The log is
rem KOLVANTA_STANDIN_LOG, or standins.log in the working folder; with
rem KOLVANTA_STANDIN_FAIL set it ends with exit code 2.
setlocal
set "STANDIN_LOG=%KOLVANTA_STANDIN_LOG%"
if "%STANDIN_LOG%"=="" set "STANDIN_LOG=standins.log"
>>"%STANDIN_LOG%" echo xtract.bat	%0 %*	%CD%	%1
if not "%KOLVANTA_STANDIN_FAIL%"=="" exit /b 2
exit /b 0

@echo off
rem Extracts one wad's textures for the converted levels: runs doomtex.exe,
rem wad2tga.exe (one sky box per SKY1..SKY4 texture the wad has) and zip.exe from
rem the program folder, and leaves z<name>tex.pk4 and the texture source list in
rem the working folder. Usage: xtract.bat "<doom|doom1|doom2|tnt|plutonia|wad file>"
rem On any failure the scratch folder is removed and no package is left behind.
setlocal
set "TOOLS=%~dp0"
if "%~1"=="" goto usage
if /i "%~x1"==".wad" (set "STEM=%~n1") else (set "STEM=%~nx1")
set "WAD=%~dp1%STEM%.wad"
set "SET=custom"
set "LIST=CUSTOM.TEX"
if /i "%STEM%"=="doom" set "SET=doom1"
if /i "%STEM%"=="doom" set "LIST=DOOM1.TEX"
if /i "%STEM%"=="doom1" set "SET=doom1"
if /i "%STEM%"=="doom1" set "LIST=DOOM1.TEX"
if /i "%STEM%"=="doom2" set "SET=doom2"
if /i "%STEM%"=="doom2" set "LIST=DOOM2.TEX"
if /i "%STEM%"=="tnt" set "SET=tnt"
if /i "%STEM%"=="tnt" set "LIST=TNT.TEX"
if /i "%STEM%"=="plutonia" set "SET=plutonia"
if /i "%STEM%"=="plutonia" set "LIST=PLUTONIA.TEX"
rem Package names are lower case: one substitution per letter (substitution
rem inside a loop does not work in every cmd).
set "LOWER=%STEM%"
set "LOWER=%LOWER:A=a%"
set "LOWER=%LOWER:B=b%"
set "LOWER=%LOWER:C=c%"
set "LOWER=%LOWER:D=d%"
set "LOWER=%LOWER:E=e%"
set "LOWER=%LOWER:F=f%"
set "LOWER=%LOWER:G=g%"
set "LOWER=%LOWER:H=h%"
set "LOWER=%LOWER:I=i%"
set "LOWER=%LOWER:J=j%"
set "LOWER=%LOWER:K=k%"
set "LOWER=%LOWER:L=l%"
set "LOWER=%LOWER:M=m%"
set "LOWER=%LOWER:N=n%"
set "LOWER=%LOWER:O=o%"
set "LOWER=%LOWER:P=p%"
set "LOWER=%LOWER:Q=q%"
set "LOWER=%LOWER:R=r%"
set "LOWER=%LOWER:S=s%"
set "LOWER=%LOWER:T=t%"
set "LOWER=%LOWER:U=u%"
set "LOWER=%LOWER:V=v%"
set "LOWER=%LOWER:W=w%"
set "LOWER=%LOWER:X=x%"
set "LOWER=%LOWER:Y=y%"
set "LOWER=%LOWER:Z=z%"
set "PACKAGE=z%LOWER%tex.pk4"
if not exist "%WAD%" goto nowad
set "SCRATCH=xtract_%RANDOM%%RANDOM%"
if exist "%SCRATCH%" rd /s /q "%SCRATCH%"
mkdir "%SCRATCH%"
if errorlevel 1 goto noscratch
"%TOOLS%doomtex.exe" "%WAD%" %SET% "%SCRATCH%" "%SCRATCH%\%LIST%"
if errorlevel 1 goto doomtexfailed
if not exist "%SCRATCH%\%LIST%" goto doomtexfailed
for %%N in (1 2 3 4) do call :sky %%N
if defined SKYFAILED goto skyfailed
set "PARTS="
if exist "%SCRATCH%\textures\" set "PARTS=%PARTS% textures"
if exist "%SCRATCH%\materials\" set "PARTS=%PARTS% materials"
if exist "%SCRATCH%\env\" set "PARTS=%PARTS% env"
if "%PARTS%"=="" goto doomtexfailed
pushd "%SCRATCH%"
"%TOOLS%zip.exe" -r -q -9 "..\%PACKAGE%" %PARTS%
set "ZIPRC=%ERRORLEVEL%"
popd
if not "%ZIPRC%"=="0" goto packfailed
move /y "%SCRATCH%\%LIST%" "%LIST%" >nul
if errorlevel 1 goto movefailed
rd /s /q "%SCRATCH%"
echo xtract: made %PACKAGE% and %LIST%
endlocal
exit /b 0

rem One sky: wad2tga only when the texture list names SKY<n>; a failure is
rem reported to the caller through errorlevel, and later skies are skipped.
:sky
if defined SKYFAILED exit /b 1
find "texture SKY%1 " "%SCRATCH%\%LIST%" >nul 2>nul
if errorlevel 1 exit /b 0
"%TOOLS%wad2tga.exe" "%WAD%" "%SCRATCH%" -skybox SKY%1 zdoomsky%1
if errorlevel 1 set "SKYFAILED=SKY%1"
if defined SKYFAILED exit /b 1
exit /b 0

:usage
echo xtract: usage: xtract.bat "<doom|doom1|doom2|tnt|plutonia|wad file>" 1>&2
endlocal
exit /b 1
:nowad
echo xtract: cannot find %STEM%.wad 1>&2
endlocal
exit /b 1
:noscratch
echo xtract: cannot make a scratch folder here 1>&2
endlocal
exit /b 3
:doomtexfailed
echo xtract: doomtex failed on %STEM%.wad 1>&2
goto cleanup2
:skyfailed
echo xtract: wad2tga failed on a sky of %STEM%.wad 1>&2
goto cleanup2
:packfailed
echo xtract: cannot pack %PACKAGE% 1>&2
goto cleanup3
:movefailed
echo xtract: cannot move %LIST% into place 1>&2
goto cleanup3
:cleanup2
rd /s /q "%SCRATCH%"
endlocal
exit /b 2
:cleanup3
rd /s /q "%SCRATCH%"
endlocal
exit /b 3

@echo off
rem Installs vymcnf.sys, the emulated card driver, as a demand-start kernel service and starts
rem it, so that \\.\VymCnf serves the card's requests from a 2048-byte EEPROM file.
rem
rem   install.cmd [eeprom-file]
rem
rem Run it as administrator from anywhere; vymcnf.sys must lie beside this script. Without an
rem argument the driver serves vymcnf.bin beside vymcnf.sys; with one it serves that file (its
rem full path goes into the EepromFile value of the service's Parameters key). The file must
rem exist and hold exactly 2048 bytes, or the driver does not start. On 64-bit Windows the
rem system loads only signed drivers unless test signing is on. remove.cmd undoes all this.
setlocal
set "SERVICE=vymcnf"
set "DRIVER=%~dp0vymcnf.sys"
set "PARAMETERS=HKLM\SYSTEM\CurrentControlSet\Services\vymcnf\Parameters"
if not exist "%DRIVER%" (
    echo install: %DRIVER% is missing
    exit /b 1
)
if "%~1"=="" (
    set "EEPROM=%~dp0vymcnf.bin"
) else (
    set "EEPROM=%~f1"
)
if not exist "%EEPROM%" (
    echo install: the EEPROM file %EEPROM% is missing
    exit /b 1
)

sc create %SERVICE% type= kernel start= demand binPath= "%DRIVER%"
if errorlevel 1 (
    echo install: could not create the %SERVICE% service; is it installed already, or is this not an administrator's prompt?
    exit /b 1
)
if not "%~1"=="" goto parameters
rem No stale value from an earlier install may override the default.
reg delete "%PARAMETERS%" /v EepromFile /f >nul 2>&1
goto start

:parameters
reg add "%PARAMETERS%" /v EepromFile /t REG_SZ /d "%EEPROM%" /f
if errorlevel 1 (
    echo install: could not record the EEPROM file; removing the service again
    sc delete %SERVICE%
    exit /b 1
)

:start
sc start %SERVICE%
if errorlevel 1 (
    echo install: the driver did not start ^(the error above says why^); the service stays installed, remove.cmd removes it
    exit /b 1
)
echo install: \\.\VymCnf serves %EEPROM%
exit /b 0

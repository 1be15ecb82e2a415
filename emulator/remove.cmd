@echo off
rem Stops and removes the vymcnf service that install.cmd set up. Run it as administrator.
rem Close every program that uses \\.\VymCnf first: the driver unloads once nobody holds it.
setlocal
set "SERVICE=vymcnf"
sc query %SERVICE% >nul 2>&1
if errorlevel 1 (
    echo remove: %SERVICE% is not installed
    exit /b 0
)
rem Stopping fails harmlessly when the driver is not running.
sc stop %SERVICE% >nul 2>&1
sc delete %SERVICE%
if errorlevel 1 (
    echo remove: could not delete the %SERVICE% service
    exit /b 1
)
echo remove: %SERVICE% removed
exit /b 0

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

sc query %SERVICE% | find "STOPPED" >nul
if not errorlevel 1 goto delete
sc stop %SERVICE% >nul
sc query %SERVICE% | find "STOPPED" >nul
if errorlevel 1 (
    echo remove: the driver did not stop; close every program that uses \\.\VymCnf and run remove.cmd again
    exit /b 1
)

:delete
sc delete %SERVICE% >nul
if errorlevel 1 (
    echo remove: could not delete the %SERVICE% service
    exit /b 1
)
echo remove: %SERVICE% removed
exit /b 0

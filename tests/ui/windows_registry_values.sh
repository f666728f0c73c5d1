#!/bin/sh
# Writes the registry values that windows_registry_test reads, with wine's
# own reg tool. $1 is the wine program.
set -e
wine=$1
reg() { "$wine" reg "$@" >/dev/null; }
test_key='HKCU\Software\Tarnlow\RegistryTest'
msinfo='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
location='HKLM\SOFTWARE\Microsoft\Shared Tools Location'
for key in "$test_key" "$msinfo" "$location"; do
  "$wine" reg delete "$key" /f >/dev/null 2>&1 || true
done
reg add "$test_key" /v Text /t REG_SZ /d 'C:\Tools\msinfo32.exe' /f
reg add "$test_key" /v Number /t REG_DWORD /d 0x12345678 /f
reg add "$test_key" /v Binary /t REG_BINARY /d 0102030405 /f
reg add "$test_key" /v Accented /t REG_SZ /d 'Café ü' /f
reg add "$test_key" /v Long /t REG_SZ /d "$(printf '%01100d' 0)" /f
reg add "$msinfo" /v PATH /t REG_SZ /d 'C:\Tools\msinfo32.exe' /f
reg add "$location" /v MSINFO /t REG_SZ /d 'C:\windows\system32' /f

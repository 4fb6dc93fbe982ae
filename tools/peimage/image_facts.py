#!/usr/bin/env python3
"""Prints the facts of a built stub (size, PE layout, imports) and, with
--check, fails when the image breaks a rule the package format or the
supported Windows versions impose:

  "MZ" at 0, "PE" at 256, bytes 248..255 free (zero) for the package length,
  GUI subsystem, i386, a manifest asking for administrator rights and
  common controls 6, the icon resource MainIcon, a version resource, and
  imports only from DLLs that every Windows has.
"""
import argparse
import os
import subprocess
import sys

from pe import PeImage, PeError

ALLOWED_DLLS = {'kernel32.dll', 'user32.dll', 'gdi32.dll', 'advapi32.dll',
                'shell32.dll', 'comctl32.dll', 'msvcrt.dll'}
# kernel32 entries that older Windows versions lack: the stub binds these by
# name at run time, so a static import of one would stop it from starting.
BOUND_AT_RUN_TIME = {
    'GetDiskFreeSpaceExA', 'GetDiskFreeSpaceExW',
    'CreateToolhelp32Snapshot', 'Process32First', 'Process32Next',
    'GetTickCount64', 'GetSystemTimePreciseAsFileTime',
    'InitializeSRWLock', 'AcquireSRWLockExclusive', 'AcquireSRWLockShared',
    'ReleaseSRWLockExclusive', 'ReleaseSRWLockShared',
    'InitializeConditionVariable', 'SleepConditionVariableCS', 'SleepConditionVariableSRW',
    'WakeConditionVariable', 'WakeAllConditionVariable',
    'InitOnceExecuteOnce', 'InitOnceBeginInitialize', 'InitOnceComplete',
    'FlsAlloc', 'FlsFree', 'FlsGetValue', 'FlsSetValue',
    'CreateSymbolicLinkA', 'CreateSymbolicLinkW',
    'GetFinalPathNameByHandleA', 'GetFinalPathNameByHandleW',
    'QueryFullProcessImageNameA', 'QueryFullProcessImageNameW',
    'SetDefaultDllDirectories', 'AddDllDirectory',
}
OBJDUMP = os.environ.get('OBJDUMP', 'i686-w64-mingw32-objdump')


def imports(path):
    """DLL name -> list of imported names, as objdump reads the import table."""
    out = subprocess.run([OBJDUMP, '-p', path], check=True, capture_output=True,
                         text=True).stdout
    table, current, in_names = {}, None, False
    for line in out.splitlines():
        s = line.strip()
        if s.startswith('DLL Name:'):
            current = s.split(':', 1)[1].strip()
            table[current] = []
            in_names = False
        elif current and s.startswith('vma:') and 'Hint/Ord' in s:
            in_names = True
        elif current and in_names:
            if not s:
                current, in_names = None, False
                continue
            parts = s.split()
            if len(parts) >= 3:
                table[current].append(parts[2])
    return table


def utf16(text):
    return text.encode('utf-16-le')


MACHINES = {'win32': (0x14C, 'i386'), 'win64': (0x8664, 'x86-64')}


def problems(path, image, table, arch='win32'):
    data = image.data
    found = []
    if image.pe_offset != 256:
        found.append('PE header at %d, not 256' % image.pe_offset)
    if any(data[248:256]):
        found.append('bytes 248..255 are not zero')
    machine, machine_name = MACHINES[arch]
    if image.machine != machine:
        found.append('machine %#x is not %s' % (image.machine, machine_name))
    if image.subsystem != 2:
        found.append('subsystem %d is not the GUI subsystem (2)' % image.subsystem)
    if image.headers_end > image.size_of_headers:
        found.append('section table runs past SizeOfHeaders')
    for needle, what in ((b'requireAdministrator', 'manifest asking for administrator rights'),
                         (b'Microsoft.Windows.Common-Controls', 'manifest naming common controls'),
                         (utf16('MAINICON'), 'icon resource MainIcon'),
                         (utf16('VS_VERSION_INFO'), 'version resource')):
        if needle not in data:
            found.append('no ' + what)
    for dll in table:
        if dll.lower() not in ALLOWED_DLLS:
            found.append('imports %s (%s)' % (dll, ', '.join(table[dll][:5])))
        elif dll.lower() == 'kernel32.dll':
            for name in table[dll]:
                if name in BOUND_AT_RUN_TIME or name.startswith('K32'):
                    found.append('imports %s from %s; bind it at run time' % (name, dll))
    return found


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('image')
    ap.add_argument('--check', action='store_true', help='fail on a broken rule')
    ap.add_argument('--size-only', action='store_true')
    ap.add_argument('--arch', choices=sorted(MACHINES), default='win32',
                    help='win64 for the 64-bit test build; the stub ships as win32')
    args = ap.parse_args()
    try:
        data = open(args.image, 'rb').read()
        image = PeImage(data)
    except (OSError, PeError) as e:
        sys.exit('%s: %s' % (args.image, e))
    print('stub: %s: %d bytes (%.1f KiB)' % (os.path.basename(args.image), len(data),
                                            len(data) / 1024))
    if args.size_only:
        return
    print('PE header at %d, %d sections, headers end at %d of %d' % (
        image.pe_offset, image.section_count, image.headers_end, image.size_of_headers))
    for s in image.sections:
        print('  %-8s raw %6d at %6d  virtual %6d at %#x' % (
            s.name, s.raw_size, s.raw_pointer, s.virtual_size, s.virtual_address))
    table = imports(args.image)
    print('imports:')
    for dll, names in table.items():
        print('  %-14s %3d: %s' % (dll, len(names), ' '.join(sorted(names))))
    if args.check:
        found = problems(args.image, image, table, args.arch)
        for p in found:
            print('FAIL: ' + p)
        if found:
            sys.exit(1)
        print('image checks passed')


if __name__ == '__main__':
    main()

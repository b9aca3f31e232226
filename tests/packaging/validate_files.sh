#!/usr/bin/env bash
# The menu entry, the AppStream data and the manual page as the desktop's validators see them, and
# the licence the same in the AppStream data as in the copyright file.
# Usage: validate_files.sh <packaging folder>
set -euo pipefail
cd "$1"
status=0
desktop-file-validate fr.brenlo.Vidor.desktop || status=1
appstreamcli validate --no-net fr.brenlo.Vidor.metainfo.xml || status=1
# Software centres show the licence of the AppStream data: the one the copyright file gives.
licence=$(sed -n 's/^License: //p' copyright)
appstream=$(sed -n 's:.*<project_license>\(.*\)</project_license>.*:\1:p' fr.brenlo.Vidor.metainfo.xml)
if [ "$appstream" != "LicenseRef-$licence" ]; then
  echo "fr.brenlo.Vidor.metainfo.xml: licence $appstream, the copyright file's is $licence"
  status=1
fi
# Every warning groff gives on the page, as lintian asks for it.
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
  man --warnings -E UTF-8 -l -Tutf8 -Z vidor.1 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
  echo "vidor.1: $warnings"
  status=1
fi
exit $status

#pragma once
// The Common Controls 6 manifest inside machine_facts.exe: not resource 1,
// which would make it the program's own.
#define QVVORN_COMCTL6_MANIFEST 100

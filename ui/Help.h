#pragma once

// The program's help command: hands "Varnito.chm" to the shell. Failures are not reported.
void OpenHelpFile();

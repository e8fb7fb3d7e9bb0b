#pragma once
#include "extract/ExtractionUi.h"

// The entry loop: writes the plan's entries under its destination, one after the other. It
// reaches the user only through progress, asker and messages. A failure ends the run at
// once; files written before stay.
ExtractionEnd ExtractEntries(const ExtractionPlan& plan, ExtractionProgress& progress, OverwriteAsker& asker,
                             ExtractionMessages& messages);

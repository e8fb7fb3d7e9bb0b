#pragma once
// Identifiers shared by the resource script and the code.

#define AFX_IDS_APP_TITLE 57344

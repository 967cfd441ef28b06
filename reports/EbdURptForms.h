#pragma once

// Registers by class name every report selection dialog, so that a template's
// dataset can name its dialog.
void RegisterReportForms();

// The system language as Windows tells it.
#pragma once

// Reads the thread locale's primary language into the language strings.
// Called once at start-up.
void LoadSystemLanguage();

#include "ui/language_win.h"

#include <windows.h>

#include "ui/language.h"

void LoadSystemLanguage()
{
    SetSystemLanguage(PrimaryLanguageOfLocale(GetThreadLocale()));
}

#include "ui/package_language.h"

#include "package/file_info.h"
#include "ui/language.h"

std::string LangString(const TGFileInfo& package, const std::string& key, const std::string& def)
{
    return PackageLangString(package.LanguageBlock(), key, def);
}

int LangCharset(const TGFileInfo& package)
{
    return PackageLangCharset(package.LanguageBlock());
}

int LangFontSize(const TGFileInfo& package)
{
    return PackageLangFontSize(package.LanguageBlock());
}

std::string LangFontName(const TGFileInfo& package)
{
    return PackageLangFontName(package.LanguageBlock());
}

// The language the player's locale asks for, used by the windowed game when
// neither --lang nor a language= line of kavrix.conf chose one. The page of
// the browser build passes the browser's languages in the same way (LANGUAGE).
#pragma once
#include <functional>

#include "state/language.h"

// The first of LANGUAGE (its first entry), LC_ALL, LC_MESSAGES and LANG that
// is set and not empty decides: Czech and Slovak (cs, sk, in any region or
// encoding) give Czech, as do C, POSIX and no locale at all (the game's own
// language, which every test and golden replay assumes); any other language
// gives English.
Language LocaleLanguage();
// The same rule over a lookup of the variables (nullptr: not set).
Language LocaleLanguage(const std::function<const char*(const char* name)>& variable);

#pragma once

#include <string>

class CCollections;
class CPrompt;

// The collection of dir (or the favorites when dir is null) loaded from its file, without a
// scan; false after the message when it is absent.
bool LoadStored(CCollections& coll, CPrompt& prompt, const std::string* dir);

#pragma once

#include <string_view>

// Why Send mail (32040) did not hand the document to the mail program, by the string-table id
// each failure has.
enum class EMailFailure : int {
    NoMailProgram = 61840, // xdg-email is not installed
    NoCopy = 61841,        // the copy of an unsaved document could not be written
    NotSent = 61842,       // xdg-email did not start or reported a failure
};

std::string_view MailFailureText(EMailFailure failure);

#include "textdoc/SendMail.h"

std::string_view MailFailureText(EMailFailure failure) {
    switch (failure) {
    case EMailFailure::NoMailProgram:
        return "Can not find the mail program \"xdg-email\".\r\nPlease install the xdg-utils package.";
    case EMailFailure::NoCopy: return "Can not write a copy of the document for the mail.";
    case EMailFailure::NotSent: return "The mail program could not take the document.";
    }
    return {};
}

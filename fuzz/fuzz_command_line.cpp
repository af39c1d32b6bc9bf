// The program's command line (QtCore only): arguments are the input cut at zero bytes.
#include "FuzzSupport.h"

#include "app/CCommandLine.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CFuzzInput in(data, size);
    QStringList arguments{QStringLiteral("quillbox")};
    while (!in.Rest().empty()) {
        const std::string_view a = in.Part();
        arguments << QString::fromUtf8(a.data(), qsizetype(a.size()));
    }
    CCommandLine line;
    const CCommandLine::EAction action = line.Parse(arguments);
    if (action == CCommandLine::EAction::Run) {
        FUZZ_CHECK(line.File().isEmpty() || QDir::isAbsolutePath(line.File()));
        FUZZ_CHECK(line.Text(action).isEmpty());
    } else {
        FUZZ_CHECK(line.Text(action).endsWith(u'\n'));
    }
    return 0;
}

#include "settings/CyclistName.h"

namespace {
bool invisible(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}
} // namespace

CyclistNameProblem cyclistNameProblem(const QString& name)
{
    if (name.trimmed().isEmpty())
        return CyclistNameProblem::Blank;
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t c = name.at(i).unicode();
        // A surrogate only in a pair; a lone one is no character at all.
        if (name.at(i).isHighSurrogate() && i + 1 < name.size() &&
            name.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(name.at(i), name.at(i + 1));
            ++i;
        }
        if (invisible(c))
            return CyclistNameProblem::ControlCharacters;
    }
    return CyclistNameProblem::None;
}

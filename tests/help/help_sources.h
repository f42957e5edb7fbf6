// The help sources and the program sources as the help tests read them.
#pragma once
#include <string>
#include <vector>

namespace tidemark::test {

// A folder of the repository: "src", "help", "help/html".
std::string RepositoryPath(const std::string& relative);
// A whole file; empty when it cannot be read.
std::string ReadText(const std::string& path);
// The files below a folder, recursively, whose names end in one of the endings.
std::vector<std::string> FilesBelow(const std::string& folder, const std::vector<std::string>& endings);

// A help page's visible text: tags dropped, entities decoded, blank runs as one blank.
std::string VisibleText(const std::string& html);

// The string literals of one line of C++, comments skipped.
std::vector<std::string> LiteralsOf(const std::string& line);

// The texts of report and message lines a line of C++ can write: literals
// that begin with an error, caution or warning marker or an error label,
// and the literals joined to them in the same expression (up to a comma or
// semicolon), each trimmed and with its blank runs folded; bare markers are
// left out.
std::vector<std::string> ReportTextsOf(const std::string& line);

}  // namespace tidemark::test

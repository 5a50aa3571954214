#include "tests/support/sim/call_table.h"

#include <algorithm>
#include <sstream>

#include "platform/sim/glob.h"

namespace calls {

std::vector<std::string> Recorded(const sim::Trace& trace,
                                  const std::vector<std::string_view>& names, int process) {
    std::vector<std::string> lines;
    for (const sim::TraceCall& call : trace.Records()) {
        if (call.process != process)
            continue;
        if (!names.empty() && std::find(names.begin(), names.end(), call.name) == names.end())
            continue;
        lines.push_back(call.Text());
    }
    return lines;
}

std::vector<std::string> WithHandles(std::vector<std::string> rows, const Handles& handles) {
    for (const Handle& handle : handles) {
        const std::string placeholder = "{" + std::string(handle.name) + "}";
        const std::string text = sim::TraceArg(static_cast<const void*>(handle.window));
        for (std::string& row : rows)
            for (std::size_t at = 0; (at = row.find(placeholder, at)) != std::string::npos;
                 at += text.size())
                row.replace(at, placeholder.size(), text);
    }
    return rows;
}

::testing::AssertionResult Match(const sim::Trace& trace, const std::vector<std::string>& rows,
                                 const std::vector<std::string_view>& names, const Handles& handles,
                                 int process) {
    const std::vector<std::string> expected = WithHandles(rows, handles);
    const std::vector<std::string> actual = Recorded(trace, names, process);
    std::size_t row = 0;
    while (row < expected.size() && row < actual.size() &&
           sim::GlobMatches(expected[row], actual[row]))
        ++row;
    if (row == expected.size() && row == actual.size())
        return ::testing::AssertionSuccess();

    std::ostringstream out;
    out << "call " << row + 1 << " differs: expected ";
    out << (row < expected.size() ? expected[row] : std::string("(no more calls)"));
    out << "\n                 got      ";
    out << (row < actual.size() ? actual[row] : std::string("(no more calls)"));
    out << "\nexpected table:\n";
    for (std::size_t i = 0; i < expected.size(); ++i)
        out << "  " << i + 1 << ". " << expected[i] << "\n";
    out << "recorded calls:\n";
    for (std::size_t i = 0; i < actual.size(); ++i)
        out << "  " << i + 1 << ". " << actual[i] << "\n";
    return ::testing::AssertionFailure() << out.str();
}

} // namespace calls

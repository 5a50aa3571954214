// kipo-sim's command line: every option, both value forms, and the mistakes it refuses.
#include <gtest/gtest.h>

#include "tools/kipo-sim/options.h"

using namespace kiposim;

namespace {

std::string Describe(const Options& o) {
    std::string s;
    if (o.help)
        s += "help ";
    if (o.version)
        s += "version ";
    if (o.quiet)
        s += "quiet ";
    if (o.trace)
        s += "trace ";
    if (o.explain)
        s += "explain ";
    if (o.showBuiltIn)
        s += "builtin ";
    if (!o.scenarioFile.empty())
        s += "file=" + o.scenarioFile + " ";
    if (!o.svgFile.empty())
        s += "svg=" + o.svgFile + " ";
    if (!o.registryFile.empty())
        s += "reg=" + o.registryFile + " ";
    if (!o.saveRegistryFile.empty())
        s += "save=" + o.saveRegistryFile + " ";
    return s;
}

TEST(Options, Accepted) {
    struct Case {
        int line;
        std::vector<std::string> args;
        const char* meaning;
    };
    const Case cases[] = {
        {__LINE__, {}, ""},
        {__LINE__, {"day.kipo"}, "file=day.kipo "},
        {__LINE__, {"-"}, "file=- "},
        {__LINE__, {"--quiet", "--trace", "--explain"}, "quiet trace explain "},
        {__LINE__, {"--help"}, "help "},
        {__LINE__, {"-h"}, "help "},
        {__LINE__, {"--version"}, "version "},
        {__LINE__, {"--svg", "-", "--save-registry=-"}, "svg=- save=- "},
        {__LINE__, {"--show-builtin"}, "builtin "},
        {__LINE__, {"--svg", "out.svg", "a.kipo"}, "file=a.kipo svg=out.svg "},
        {__LINE__, {"--svg=out.svg"}, "svg=out.svg "},
        {__LINE__, {"--registry", "in.reg", "--save-registry=out.reg"}, "reg=in.reg save=out.reg "},
        // After "--" a name that looks like an option is a file.
        {__LINE__, {"--", "--quiet"}, "file=--quiet "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("table line " + std::to_string(c.line));
        Options options;
        std::string error;
        ASSERT_TRUE(ParseOptions(c.args, options, error)) << error;
        EXPECT_EQ(Describe(options), c.meaning);
    }
}

TEST(Options, Refused) {
    struct Case {
        int line;
        std::vector<std::string> args;
        const char* fragment;
    };
    const Case cases[] = {
        {__LINE__, {"--frobnicate"}, "unknown option --frobnicate (kipo-sim --help lists them)"},
        {__LINE__, {"--quite"}, "unknown option --quite (did you mean --quiet?)"},
        {__LINE__, {"--save-registy=x.reg"}, "(did you mean --save-registry?)"},
        {__LINE__, {"--Version"}, "(did you mean --version?)"},
        {__LINE__, {"-q"}, "unknown option -q"},
        {__LINE__, {"--svg"}, "--svg needs a file name"},
        {__LINE__, {"--svg="}, "--svg needs a file name"},
        {__LINE__, {"--registry", ""}, "--registry needs a file name"},
        {__LINE__, {"a.kipo", "b.kipo"}, "one scenario at a time"},
        {__LINE__, {""}, "empty scenario file name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("table line " + std::to_string(c.line));
        Options options;
        std::string error;
        EXPECT_FALSE(ParseOptions(c.args, options, error));
        EXPECT_NE(error.find(c.fragment), std::string::npos) << error;
    }
}

} // namespace

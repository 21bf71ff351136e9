// What the importer warns about, the errors it refuses input with, and the command itself.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "ImportSvg/ImportCommand.h"
#include "ImportSvg/ImportSvg.h"
#include "support/Scenes.h"

namespace {

using namespace KUV::ImportSvg;

std::vector<std::string> Warnings(const std::string& body)
{
    Diagnostics diagnostics("d.svg");
    ImportDrawing("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\">\n" + body + "\n</svg>", {},
        diagnostics);
    return diagnostics.Warnings();
}

std::string Error(const std::string& svg)
{
    Diagnostics diagnostics("d.svg");
    try {
        ImportDrawing(svg, {}, diagnostics);
    } catch (const ImportError& e) {
        return diagnostics.ErrorLine(e.Line(), e.what());
    }
    return "no error";
}

TEST(ImportDiagnostics, WhatCannotBeSaidIsWarnedPerElement)
{
    EXPECT_EQ(Warnings("<rect width=\"1\" height=\"1\" clip-path=\"url(#c)\"/>"),
        std::vector<std::string> { "d.svg:2: warning: clip-path is not supported; drawn unclipped" });
    EXPECT_EQ(Warnings("<text>hi</text>\n<image href=\"a.png\"/>"),
        (std::vector<std::string> { "d.svg:2: warning: <text> is not supported; dropped",
            "d.svg:3: warning: <image> is not supported; dropped" }));
    EXPECT_EQ(Warnings("<g opacity=\"0.5\">\n<rect width=\"10\" height=\"10\"/><rect width=\"5\" height=\"5\"/></g>"),
        std::vector<std::string> { "d.svg:2: warning: group opacity over overlapping children is applied to each "
                                   "child; overlaps show through" });
    EXPECT_EQ(Warnings("<pattern id=\"p\"/><rect fill=\"url(#p)\" width=\"1\" height=\"1\"/>"),
        std::vector<std::string> { "d.svg:2: warning: pattern paint is not supported; the paint is dropped" });
    EXPECT_EQ(Warnings("\n<path d=\"M0 0 L1 1 Q\" stroke=\"red\"/>"),
        std::vector<std::string> { "d.svg:3: warning: path data: bad arguments of 'Q' at character 12; drawn up to "
                                   "there, as browsers do" });
    // Opacity over children that do not overlap is exact: no warning.
    EXPECT_TRUE(Warnings("<g opacity=\"0.5\"><rect width=\"1\" height=\"1\"/><rect x=\"5\" width=\"1\" "
                         "height=\"1\"/></g>")
                    .empty());
}

TEST(ImportDiagnostics, BadInputIsRefusedWithItsLine)
{
    EXPECT_EQ(Error("<svg>\n<rect>\n</svg>"),
        "d.svg:3: error: not well-formed XML: Opening and ending tag mismatch: rect line 2 and svg");
    EXPECT_EQ(Error("<html xmlns=\"http://www.w3.org/1999/xhtml\"/>"),
        "d.svg:1: error: not an SVG document (the root element is <html>)");
    EXPECT_EQ(Error(""), "d.svg:1: error: not well-formed XML: Document is empty");
    EXPECT_EQ(Error("<svg xmlns=\"http://www.w3.org/2000/svg\">\n<g id=\"a\">\n<use href=\"#a\"/></g></svg>"),
        "d.svg:3: error: use refers to \"#a\", which contains this use (a cycle)");
}

TEST(ImportDiagnostics, HostileInputIsBounded)
{
    // Entities that multiply: libxml2's amplification limit stops them.
    std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">";
    std::string previous = "a";
    for (int i = 0; i < 12; ++i) {
        const std::string name = "e" + std::to_string(i);
        laughs += "<!ENTITY " + name + " \"";
        for (int k = 0; k < 10; ++k)
            laughs += "&" + previous + ";";
        laughs += "\">";
        previous = name;
    }
    laughs += "]><svg xmlns=\"http://www.w3.org/2000/svg\"><desc>&" + previous + ";</desc></svg>";
    EXPECT_NE(Error(laughs).find("error: not well-formed XML"), std::string::npos);
    // An external entity is never read.
    const std::string external = "<!DOCTYPE svg [<!ENTITY x SYSTEM \"/etc/passwd\">]>"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\"><desc>&x;</desc></svg>";
    const std::string result = Error(external);
    EXPECT_EQ(result.find("root:"), std::string::npos);
    // Uses that multiply each other: the work bound stops them.
    std::string uses = "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect id=\"u0\" width=\"1\" height=\"1\"/>";
    for (int i = 1; i < 30; ++i)
        uses += "<g id=\"u" + std::to_string(i) + "\"><use href=\"#u" + std::to_string(i - 1) + "\"/><use href=\"#u"
            + std::to_string(i - 1) + "\"/></g>";
    uses += "</svg>";
    EXPECT_NE(Error(uses).find("error: the drawing is too large"), std::string::npos);
    // Nesting deeper than the bound.
    std::string deep = "<svg xmlns=\"http://www.w3.org/2000/svg\">";
    for (int i = 0; i < 300; ++i)
        deep += "<g>";
    for (int i = 0; i < 300; ++i)
        deep += "</g>";
    deep += "</svg>";
    EXPECT_NE(Error(deep).find("error:"), std::string::npos);
}

TEST(ImportDiagnostics, TheCommandWritesOnlyCompleteFiles)
{
    kuvtest::TempDir dir;
    const std::string bad = dir.Write("bad.svg", "<svg");
    std::ostringstream out, err;
    EXPECT_EQ(RunImportCommand({ bad, dir.Path() + "/bad.tvs" }, out, err), 1);
    EXPECT_EQ(err.str().rfind(bad + ":1: error: not well-formed XML", 0), 0u) << err.str();
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "/bad.tvs"));
    std::ostringstream out2, err2;
    EXPECT_EQ(RunImportCommand({ dir.Path() + "/missing.svg", dir.Path() + "/m.tvs" }, out2, err2), 1);
    EXPECT_EQ(err2.str(), dir.Path() + "/missing.svg:0: error: cannot read the file\n");
    std::ostringstream out3, err3;
    EXPECT_EQ(RunImportCommand({ "a.svg" }, out3, err3), 64);
    EXPECT_EQ(RunImportCommand({ "a.svg", "b.tvs", "--width", "-3" }, out3, err3), 64);
    EXPECT_EQ(RunImportCommand({ "a.svg", "b.tvs", "--prefix", "a b" }, out3, err3), 64);
    std::ostringstream out4, err4;
    EXPECT_EQ(RunImportCommand({ "--help" }, out4, err4), 0);
    EXPECT_EQ(out4.str(), ImportUsage);
}

} // namespace

// The walk over the SVG tree that fills the scene model: groups become procedures,
// shapes become geometries, brushes and draw commands.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "ImportSvg/ImportSvg.h"
#include "ImportSvg/Paint.h"
#include "ImportSvg/SceneWriter.h"
#include "ImportSvg/Shapes.h"
#include "ImportSvg/Style.h"

namespace KUV::ImportSvg {

// What an element inherits from where it is drawn.
struct WalkState {
    Properties style;
    Matrix ctm; // user space to scene space
    LengthContext lengths;
    double opacity = 1; // group opacities above, folded into the brushes
    ProcedureRecord* procedure = nullptr;
    std::vector<std::vector<Pt>> clips; // viewports in scene space that clip what is drawn
};

class Importer {
public:
    Importer(const ImportOptions& options, Diagnostics& diagnostics)
        : m_Options(options)
        , m_Diagnostics(diagnostics)
        , m_Names(options.prefix)
    {
    }
    SceneModel Run(const Element& root);
    // The size of a drawing that gives none (100 x 100 unless set).
    void SetSizeWithout(Pt size) { m_SizeWithout = size; }
    // The user-space bounds of all that a run drew.
    Box ContentBounds() const;

private:
    void Collect(const Element& e);
    void AddBackgroundColor(const Element& root, ProcedureRecord& main, const Matrix& place, double w, double h);
    void Walk(const Element& e, const WalkState& parent);
    void WalkChildren(const Element& e, const WalkState& state);
    bool Prepare(const Element& e, const WalkState& parent, Properties& style);
    void WarnUnsupported(const Element& e, const Properties& style);
    using Body = std::function<void(const WalkState&)>;
    void Group(const Element& e, const WalkState& parent, const Properties& style, const Matrix& local,
        const LengthContext& lengths, const Body& body);
    Body ChildrenOf(const std::vector<const Element*>& children);
    void Use(const Element& e, const WalkState& parent, const Properties& style);
    void Viewport(const Element& e, const WalkState& parent, const Properties& style, const Element* use);
    void Shape(const Element& e, const WalkState& parent, const Properties& style);

    // What a shape is drawn with: its geometry, made once when first needed.
    struct ShapeDraw {
        const Element& element;
        const WalkState& state;
        const Properties& style;
        const ShapeGeometry& shape;
        std::string base; // the stem of its names
        double opacity;
        std::string geometry;
    };
    void DrawFill(ShapeDraw& draw);
    void DrawStroke(ShapeDraw& draw);
    const std::string& ShapeGeometryName(ShapeDraw& draw);
    BrushContext BrushContextOf(const ShapeDraw& draw);
    // The area cut to the viewports around it; false when nothing needed cutting.
    bool Clipped(const ShapeDraw& draw, PathModel& area, double reach);
    void PaintArea(ShapeDraw& draw, const PlacedBrush& brush, const PathModel& area, const std::string& suffix);
    std::string AddGeometry(const std::string& base, const ShapeGeometry& shape);
    std::string AddPath(const std::string& base, const PathModel& path);
    std::string AddBrush(const std::string& base, BrushRecord brush);
    // Pushes the steps of m; named after base (unprefixed), or shared anonymous records when empty.
    void PushSteps(ProcedureRecord& procedure, const Matrix& m, const std::string& base);
    void PopSteps(ProcedureRecord& procedure, const Matrix& m);
    void CheckOverlap(const Element& e, std::size_t from, const char* what);
    void Spend(std::size_t segments, int line);
    void Visit(int line);

    const ImportOptions& m_Options;
    Diagnostics& m_Diagnostics;
    NameBook m_Names;
    SceneModel m_Scene;
    StyleSheet m_Sheet;
    IdMap m_Ids;
    std::vector<const Element*> m_Path; // elements being walked, to catch use cycles
    int m_UseDepth = 0;
    std::size_t m_Segments = 0, m_Visits = 0;
    std::vector<Box> m_Drawn; // scene-space bounds of everything drawn so far
    std::map<std::string, std::string> m_SharedTransforms;
    int m_Unnamed = 0;
    Pt m_SizeWithout { 100, 100 };
    Matrix m_Place;
};

// The map of a viewBox and preserveAspectRatio onto a viewport of width x height.
// The element's transform attribute (identity when absent or malformed, with a warning).
Matrix ElementTransform(const Element& e, const Properties& style, Diagnostics& diagnostics);
double OpacityOf(const Properties& style, const char* key);
Matrix ViewBoxTransform(const std::string* viewBox, const std::string* aspect, double width, double height);

} // namespace KUV::ImportSvg

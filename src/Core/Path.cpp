#include "Core/Path.h"

#include <string>

#include "Core/Assert.h"
#include "Core/RecordOpeners.h"

namespace KUV {

void Line::AddTo(ID2D1GeometrySink& sink) const
{
    sink.AddLine(m_To.Get());
}

void Bezier::AddTo(ID2D1GeometrySink& sink) const
{
    const D2D1_POINT_2F p1 = m_P1.Get();
    const D2D1_POINT_2F p2 = m_P2.Get();
    const D2D1_POINT_2F p3 = m_P3.Get();
    sink.AddBezier({ p1, p2, p3 });
}

void Figure::AddTo(ID2D1GeometrySink& sink) const
{
    sink.BeginFigure(m_StartPoint.Get(), D2D1_FIGURE_BEGIN_FILLED);
    for (const std::shared_ptr<ISegment>& segment : m_Segments)
        segment->AddTo(sink);
    sink.EndFigure(m_Closed ? D2D1_FIGURE_END_CLOSED : D2D1_FIGURE_END_OPEN);
}

std::shared_ptr<ID2D1Geometry> Path::CreateResource()
{
    KUV_ASSERT(m_Factory);
    const auto path = CreateChecked([&](ID2D1PathGeometry** out) { return m_Factory->CreatePathGeometry(out); });
    const auto sink = CreateChecked([&](ID2D1GeometrySink** out) { return path->Open(out); });
    sink->SetFillMode(D2D1_FILL_MODE_WINDING);
    for (const std::shared_ptr<Figure>& figure : m_Figures)
        figure->AddTo(*sink);
    CheckD2DResult(sink->Close());
    return path;
}

namespace {

std::shared_ptr<ISegment> ReadLine(SceneReader& reader)
{
    return std::make_shared<Line>(reader.ReadPoint("to"));
}

std::shared_ptr<ISegment> ReadBezier(SceneReader& reader)
{
    // Read one by one: the file gives the points in this order.
    PointD p1 = reader.ReadPoint("p1");
    PointD p2 = reader.ReadPoint("p2");
    PointD p3 = reader.ReadPoint("p3");
    return std::make_shared<Bezier>(std::move(p1), std::move(p2), std::move(p3));
}

constexpr RecordOpener<ISegment> SegmentOpeners[] = {
    { "Line{", &ReadLine },
    { "Bezier{", &ReadBezier },
};

std::shared_ptr<ISegment> ReadSegment(SceneReader& reader)
{
    const auto read = FindRecordReader(reader, SegmentOpeners, reader.ReadWord(), "segment");
    std::shared_ptr<ISegment> segment = read(reader);
    reader.Expect("}");
    return segment;
}

std::shared_ptr<Figure> ReadFigure(SceneReader& reader)
{
    reader.Expect("Figure{");
    auto figure = std::make_shared<Figure>();
    figure->m_StartPoint = reader.ReadPoint("startPoint");
    figure->m_Closed = reader.ReadInt("closed") != 0;
    reader.ReadList("noOfSegments", figure->m_Segments, ReadSegment);
    reader.Expect("}");
    return figure;
}

} // namespace

std::shared_ptr<GeometryBase> ReadPath(SceneReader& reader)
{
    auto path = std::make_shared<Path>();
    reader.ReadList("noOfFigures", path->m_Figures, ReadFigure);
    return path;
}

} // namespace KUV

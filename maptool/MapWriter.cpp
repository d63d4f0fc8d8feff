#include "MapWriter.h"

namespace {

void PutKeyOrValue(const CMapString& text, COutputSink& out)
{
    const std::string_view view = text.View();
    if (view.find('"') != std::string_view::npos) {
        out.Put(text);
        return;
    }
    out.Put("\"");
    out.Put(text);
    out.Put("\"");
}

} // namespace

void WriteMap(const MapEntityList& entities, COutputSink& out)
{
    for (const MapEntity& entity : entities)
        WriteEntity(entity, out);
}

void WriteEntity(const MapEntity& entity, COutputSink& out)
{
    out.Put("{\n");
    for (const auto& [key, value] : entity.keyValues)
        WriteKeyValue(key, value, out);
    for (const MapBrush& brush : entity.brushes)
        WriteBrush(brush, out);
    out.Put("}\n");
}

void WriteKeyValue(const CMapString& key, const CMapString& value, COutputSink& out)
{
    out.Put(" ");
    PutKeyOrValue(key, out);
    out.Put(" ");
    PutKeyOrValue(value, out);
    out.Put("\n");
}

void WriteBrush(const MapBrush& brush, COutputSink& out)
{
    out.Put(" {\n");
    for (const BrushPlane& plane : brush)
        WritePlane(plane, out);
    out.Put(" }\n");
}

void WritePlane(const BrushPlane& plane, COutputSink& out)
{
    out.Put(" ");
    for (const auto& point : plane.point) {
        out.Put(" (");
        for (const CMapString& coordinate : point) {
            out.Put(" ");
            out.Put(coordinate);
        }
        out.Put(" )");
    }
    for (const CMapString& token : plane.surface) {
        out.Put(" ");
        out.Put(token);
    }
    out.Put("\n");
}

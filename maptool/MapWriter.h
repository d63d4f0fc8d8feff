// The map writer: the model back to brush-format text, mirroring the parser
// rule by rule (WriteEntity, WriteKeyValue, WriteBrush, WritePlane).
//
// Every line takes one fixed form, with LF line ends (a text-mode sink turns
// them into the platform's own):
//   {                                   one entity
//    "key" "value"                      each pair, in key order
//    {                                  each brush
//     ( x y z ) ( x y z ) ( x y z ) texture n n n n n
//    }
//   }
// Tokens go out byte for byte as stored; numbers are never reformatted. A key or
// value that holds a double quote can only have been a bare token, and is
// written bare: quoting it would end the string early on the next read.
//
// Does not check: the model (an empty key or value is written as it is). Order:
// entities, brushes and planes in list order, pairs in key order. Ownership:
// borrows the model and the sink. Write errors are left in the sink.
#pragma once

#include "MapModel.h"
#include "OutputSink.h"

void WriteMap(const MapEntityList& entities, COutputSink& out);
void WriteEntity(const MapEntity& entity, COutputSink& out);
void WriteKeyValue(const CMapString& key, const CMapString& value, COutputSink& out);
void WriteBrush(const MapBrush& brush, COutputSink& out);
void WritePlane(const BrushPlane& plane, COutputSink& out);

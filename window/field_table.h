#pragma once
// The nine parameter rows of the window: which field and label show which parameter,
// the label's caption and typeface, and the hover texts of both.

#include <array>

#include "model/entry.h"

namespace sp {

struct FieldRow {
    ParamId id;
    const char* field;          // object name of the text field
    const char* label;          // object name of its label
    const char* caption;        // label caption; "a =" and "b =" are meant for the Greek font
    bool greek;                 // label drawn in the Greek-letter ("Symbol") typeface
    const char* field_tip;
    const char* label_tip;
};

// Top to bottom, as the rows stand in the window.
inline constexpr std::array<FieldRow, 9> kFieldRows = {{
    {ParamId::alpha, "Text1", "Label1", "a =", true,
     "Коэффициент затухания безразмерный (можно учесть трение)",
     "Коэффициент затухания безразмерный (можно учесть трение)"},
    {ParamId::beta, "Text4", "Label4", "b =", true,
     "Отношение частот: вынуждающей силы к вертикальной",
     "Отношение частот: вынуждающей силы к вертикальной"},
    {ParamId::Xm, "Text7", "Label7", "Xm =", false, "Амплитуда вынуждающей силы (безразмерная)",
     "Амплитуда вынуждающей силы (безразмерная)"},
    {ParamId::DYg, "Text8", "Label8", "DYg =", false,
     "Вертикальное смещение под действием силы тяжести ( безразмерное)",
     "Вертикальное смещение под действием силы тяжести ( безразмерное)"},
    {ParamId::Xo, "Text2", "Label2", "Xo =", false, "Начальная горизонтальная координата",
     "Начальная горизонтальная координата (безразмерная)"},
    {ParamId::Vox, "Text3", "Label3", "Vox =", false,
     "Начальная горизонтальная скорость (безразмерная)", "Начальная горизонтальная скорость"},
    {ParamId::Yo, "Text5", "Label5", "Yo =", false,
     "Начальная вертикальная координата (безразмерная)",
     "Начальная вертикальная координата  (безразмерная)"},
    {ParamId::Voy, "Text6", "Label6", "Voy =", false, "Начальная вертикальная скорость",
     "Начальная вертикальная скорость"},
    {ParamId::Tmax, "Text9", "Label9", "Tmax =", false, "Время расчёта (в собственных периодах)",
     "Время расчёта (в собственных периодах)"},
}};

// The six value labels of the characteristics, in the order of texts::characteristic_captions.
struct ValueLabel {
    const char* name;
    bool greek;
    const char* tip;
};

inline constexpr std::array<ValueLabel, 6> kValueLabels = {{
    {"Label12", true, "Отношение частот: горизонтальной к вертикальной  Sqr(DYg / (1 + DYg))"},
    {"Label13", false, "Амплитуда свободных горизонтальных колебаний Ax=sqr(Xo^2+V0x^2)"},
    {"Label14", false, "Фаза свободных горизонтальных колебаний"},
    {"Label15", false,
     "Амплитуда свободных вертикальных колебаний относительно точки равновесия "
     "Ay=sqr((Yo-1-DYg)^2+V0y^2)"},
    {"Label16", false, "Фаза свободных вертикальных колебаний"},
    {"Label17", true, "Сдвиг фаз fi_y-fi_x"},
}};

}  // namespace sp

#include "app/SlotControlNames.h"

namespace pwx {

// clang-format off
const std::array<SlotControls, kSlotCount> kSlotTable = {{
    {"Panel2", "Label7", {"ComboBox9", "ComboBox6", "ComboBox7", "ComboBox8"}, "Edit2", "CheckBox2"},
    {"Panel4", "Label14", {"ComboBox13", "ComboBox10", "ComboBox11", "ComboBox12"}, "Edit3", "CheckBox3"},
    {"Panel7", "Label32", {"ComboBox25", "ComboBox22", "ComboBox23", "ComboBox24"}, "Edit6", "CheckBox6"},
    {"Panel6", "Label26", {"ComboBox21", "ComboBox18", "ComboBox19", "ComboBox20"}, "Edit5", "CheckBox5"},
    {"Panel5", "Label20", {"ComboBox17", "ComboBox14", "ComboBox15", "ComboBox16"}, "Edit4", "CheckBox4"},
    {"Panel13", "Label68", {"ComboBox49", "ComboBox46", "ComboBox47", "ComboBox48"}, "Edit12", "CheckBox12"},
    {"Panel12", "Label62", {"ComboBox45", "ComboBox42", "ComboBox43", "ComboBox44"}, "Edit11", "CheckBox11"},
    {"Panel11", "Label56", {"ComboBox41", "ComboBox38", "ComboBox39", "ComboBox40"}, "Edit10", "CheckBox10"},
    {"Panel10", "Label50", {"ComboBox37", "ComboBox34", "ComboBox35", "ComboBox36"}, "Edit9", "CheckBox9"},
    {"Panel9", "Label44", {"ComboBox33", "ComboBox30", "ComboBox31", "ComboBox32"}, "Edit8", "CheckBox8"},
    {"Panel8", "Label38", {"ComboBox29", "ComboBox26", "ComboBox27", "ComboBox28"}, "Edit7", "CheckBox7"},
    {"Panel19", "Label104", {"ComboBox73", "ComboBox70", "ComboBox71", "ComboBox72"}, "Edit18", "CheckBox18"},
    {"Panel18", "Label98", {"ComboBox69", "ComboBox66", "ComboBox67", "ComboBox68"}, "Edit17", "CheckBox17"},
    {"Panel17", "Label92", {"ComboBox65", "ComboBox62", "ComboBox63", "ComboBox64"}, "Edit16", "CheckBox16"},
    {"Panel16", "Label86", {"ComboBox61", "ComboBox58", "ComboBox59", "ComboBox60"}, "Edit15", "CheckBox15"},
    {"Panel15", "Label80", {"ComboBox57", "ComboBox54", "ComboBox55", "ComboBox56"}, "Edit14", "CheckBox14"},
    {"Panel14", "Label74", {"ComboBox53", "ComboBox50", "ComboBox51", "ComboBox52"}, "Edit13", "CheckBox13"},
    {"Panel25", "Label140", {"ComboBox97", "ComboBox94", "ComboBox95", "ComboBox96"}, "Edit24", "CheckBox24"},
    {"Panel33", "Label188", {"ComboBox129", "ComboBox126", "ComboBox127", "ComboBox128"}, "Edit32", "CheckBox32"},
    {"Panel34", "Label194", {"ComboBox133", "ComboBox130", "ComboBox131", "ComboBox132"}, "Edit33", "CheckBox33"},
    {"Panel35", "Label200", {"ComboBox137", "ComboBox134", "ComboBox135", "ComboBox136"}, "Edit34", "CheckBox34"},
    {"Panel36", "Label206", {"ComboBox141", "ComboBox138", "ComboBox139", "ComboBox140"}, "Edit35", "CheckBox35"},
    {"Panel37", "Label212", {"ComboBox145", "ComboBox142", "ComboBox143", "ComboBox144"}, "Edit36", "CheckBox36"},
    {"Panel26", "Label146", {"ComboBox101", "ComboBox98", "ComboBox99", "ComboBox100"}, "Edit25", "CheckBox25"},
    {"Panel27", "Label152", {"ComboBox105", "ComboBox102", "ComboBox103", "ComboBox104"}, "Edit26", "CheckBox26"},
    {"Panel28", "Label158", {"ComboBox109", "ComboBox106", "ComboBox107", "ComboBox108"}, "Edit27", "CheckBox27"},
    {"Panel29", "Label164", {"ComboBox113", "ComboBox110", "ComboBox111", "ComboBox112"}, "Edit28", "CheckBox28"},
    {"Panel30", "Label170", {"ComboBox117", "ComboBox114", "ComboBox115", "ComboBox116"}, "Edit29", "CheckBox29"},
    {"Panel31", "Label176", {"ComboBox121", "ComboBox118", "ComboBox119", "ComboBox120"}, "Edit30", "CheckBox30"},
    {"Panel32", "Label182", {"ComboBox125", "ComboBox122", "ComboBox123", "ComboBox124"}, "Edit31", "CheckBox31"},
    {"Panel24", "Label134", {"ComboBox93", "ComboBox90", "ComboBox91", "ComboBox92"}, "Edit23", "CheckBox23"},
    {"Panel1", "Label1", {"ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5"}, "Edit1", "CheckBox1"},
}};
// clang-format on

}  // namespace pwx

#include "host/bill_render.h"

#include <sstream>

#include "host/bill_store.h"

namespace velaqm::host {

namespace {

void RenderHeading(std::ostream& out, const BillHeading& heading, const ClassDef& def) {
    out << heading.className << " (" << def.id << ")" << heading.status;
    if (heading.locked) out << " [locked]";
    out << '\n';
}

void RenderHead(std::ostream& out, const ClassDef& def, const BillFormValues& values,
                const BillFieldStates& fields) {
    for (const FieldDef* field : def.FieldsOf(1)) {
        out << "  " << field->key << " = " << values.DisplayText(*field, 0);
        if (!fields.Enabled(field->key)) out << " (disabled)";
        if (fields.Locked(field->key)) out << " (locked)";
        out << '\n';
    }
}

// Only the rows that hold data, each under its row number.
void RenderEntryRows(std::ostream& out, const ClassDef& def, const BillFormValues& values) {
    const VectorPtr rows = values.EntryRows();
    if (!rows) return;
    int number = 0;
    for (const Variant& row : *rows) {
        ++number;
        if (!RowHoldsData(row.ObjectAs<Dictionary>())) continue;
        out << "  row " << number << ":";
        for (const FieldDef* field : def.FieldsOf(kEntryPage))
            out << ' ' << field->key << '=' << values.DisplayText(*field, number);
        out << '\n';
    }
}

}  // namespace

std::string RenderBill(const BillHeading& heading, const ClassDef& def,
                       const BillFormValues& values, const BillFieldStates& fields,
                       const BillControls& controls) {
    std::ostringstream out;
    RenderHeading(out, heading, def);
    RenderHead(out, def, values, fields);
    RenderEntryRows(out, def, values);
    out << controls.Render();
    return out.str();
}

}  // namespace velaqm::host

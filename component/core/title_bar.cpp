#include "component/core/title_bar.h"

#include "component/core/html.h"

namespace quillmere {

std::string BuildTitleBar(int16_t mode, std::string_view title, std::string_view panelId) {
    std::string html = "<tr><td width=100%>";
    html += "<table width=100% border=0 cellspacing=2 cellpadding=0>";
    if (mode == 1)
        html += "<tr class=titles><td nowrap valign=bottom width=100%>&nbsp;";
    else
        html += "<tr class=titles><td nowrap  valign=bottom width=100%> &nbsp;";
    html += "<strong>";
    html += title;
    html += "</strong></td>";
    html += "<td valign=bottom align=right>";
    if (mode == 1) {
        html += "<input type=submit ";
        html += " onclick=javascript:";
        html += PageFunctionCall("minimize", {QuotedValue(panelId)});
        html += " value=";
        html += Quoted(" _ ");
        html += ">";
    }
    html += "<input type=submit ";
    html += " onclick=javascript:";
    html += PageFunctionCall("winclose", {QuotedValue(panelId)});
    html += " value=";
    html += Quoted(" x ");
    html += ">";
    html += "</td></tr>";
    html += "</table>";
    html += "</td></tr>";
    return html;
}

}  // namespace quillmere

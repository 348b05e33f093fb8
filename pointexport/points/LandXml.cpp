#include "points/LandXml.h"

#include <cstdio>

#include "FileSystem.h"

namespace tz::pointexport {

CreationStamp creationStamp(const std::string& cdateText) {
    std::string text = cdateText;
    if (text.find('.') == std::string::npos) text += '.';
    while (text.size() < 17) text += '0';
    // Eight decimals round the milliseconds, so from 59.995 s on the
    // seconds read 60; the time is still in the second before.
    std::string seconds = text.substr(13, 2);
    if (seconds == "60") seconds = "59";
    return {text.substr(0, 4) + "-" + text.substr(4, 2) + "-" + text.substr(6, 2),
            text.substr(9, 2) + ":" + text.substr(11, 2) + ":" + seconds};
}

std::string escapeAttribute(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        // U+FFFE and U+FFFF are not characters XML allows either.
        if (text.compare(i, 3, "\xEF\xBF\xBE") == 0 || text.compare(i, 3, "\xEF\xBF\xBF") == 0) {
            out += "\xEF\xBF\xBD";
            i += 2;
            continue;
        }
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            // Written raw, tab and line ends would read back as spaces, and
            // the other control characters may not appear in XML at all.
            case '\t': out += "&#9;"; break;
            case '\n': out += "&#10;"; break;
            case '\r': out += "&#13;"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    out += "\xEF\xBF\xBD";  // U+FFFD, the replacement character
                } else {
                    out += c;
                }
        }
    }
    return out;
}

std::string landXmlDocument(const std::vector<PointRecord>& records, const CreationStamp& stamp) {
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n";
    doc += "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.1\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
           "xsi:schemaLocation=\"http://www.landxml.org/schema/LandXML-1.1 "
           "http://www.landxml.org/schema/LandXML-1.1/LandXML-1.1.xsd\" version=\"1.1\" date=\"" +
           stamp.date + "\" time=\"" + stamp.time + "\" readOnly=\"false\" language=\"English\">\n";
    doc += "<Units>\n";
    doc += "<Imperial areaUnit=\"squareFoot\" linearUnit=\"foot\" volumeUnit=\"cubicFeet\" "
           "temperatureUnit=\"fahrenheit\" pressureUnit=\"inHG\" angularUnit=\"radians\" directionUnit=\"radians\"/>\n";
    doc += "</Units>\n";
    doc += "<Application name=\"Tessaform\" desc=\"Export to LandXML\" manufacturer=\"TZ\" version=\"2008\" "
           "manufacturerURL=\"https://www.veltrane.com\">\n";
    doc += "</Application>\n";
    doc += "\t<CgPoints>\n";
    for (const PointRecord& record : records) {
        char coordinates[1024];
        std::snprintf(coordinates, sizeof coordinates, "%lf %lf %lf", record.northing, record.easting, record.elevation);
        doc += "\t\t<CgPoint name=\"" + std::to_string(record.number) + "\" desc=\"" +
               escapeAttribute(tz::platform::toUtf8(record.description)) + "\">" + coordinates + "</CgPoint>\n";
    }
    doc += "\t</CgPoints>\n";
    doc += "</LandXML>\n";
    return doc;
}

}  // namespace tz::pointexport

// The ranking service's site information page and detailed XML data for
// example.com, in UTF-8 as the service sends them, and what the report
// shows of them.
#pragma once

#include <string>

namespace orlu::test {

inline const std::string kDetailSitePage =
    "<html><head><meta charset=\"utf-8\"><title>example.com - Site Info</title></head><body>\n"
    "<p style=\"margin-left: 48px;\"> 示例网站 Example &nbsp;</p>\n"
    "<div class=\"data down\">9</a></div><div class=\"data up\">1,204</a></div>\n"
    "<table id=\"rank\"><tr><th>Yesterday</th><td>1,234</td></tr>\n"
    "<tr><th>7 day avg</th><td>1,250</td></tr><tr><th>1 month avg</th><td>1,301</td></tr>\n"
    "<tr><th>3 month avg</th><td>1,410</td></tr>\n"
    "<tr><th>3 month change</th><td> 176 <img src=\"/up.gif\"></td></tr></table>\n"
    "<p>Percent of global Internet users who visit example.com:</p>\n"
    "<table><tr><th>Yesterday</th><td>0.011%</td></tr>"
    "<tr><th>7 day avg</th><td>0.0123%</td></tr></table>\n"
    "<p>Daily pageviews per user for example.com:</p>\n"
    "<table><tr><th>7 day avg</th><td>2.5</td></tr></table>\n"
    "<h2>Where people go on example.com</h2><table>\n"
    "<tr><td><span class=\"geo_number descbold\"> 52.3% </span></td>"
    "<td><span class=\"geo_country\"> www.example.com </span></td></tr>\n"
    "<tr><td><span class=\"geo_number descbold\">31.0%</span></td>"
    "<td><span class=\"geo_country\">邮件.example.com</span></td></tr>\n"
    "</table><a id=\"toggleMoreTraffic\">More</a>\n"
    "<p>example.com users come from these countries:</p><table>\n"
    "<tr><td><span class=\"geo_number descbold\">61.5%</span></td><td><span "
    "class=\"geo_country\"><a href=\"/topsites/countries/CN\"> 中国 </a></span></td></tr>\n"
    "</table><a id=\"toggleMoreCountry\">More</a>\n</body></html>\n";

inline const std::string kDetailXml =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<ALEXA VER=\"0.9\" URL=\"example.com/\" HOME=\"0\" AID=\"=\">\r\n"
    "<DMOZ><SITE BASE=\"example.com/\" TITLE=\"Example\" DESC=\"示例：一个网站\"></SITE></DMOZ>\r\n"
    "<SD TITLE=\"A\" FLAGS=\"\" HOST=\"example.com\"><TITLE TEXT=\"Example\"/>\r\n"
    "<ADDR STREET=\"1 Main St\" CITY=\"Springfield\" STATE=\"IL\" ZIP=\"62701\" COUNTRY=\"US\" />\r\n"
    "<CREATED DATE=\"15-Aug-1995\" DAY=\"15\" MONTH=\"08\" YEAR=\"1995\"/>\r\n"
    "<PHONE NUMBER=\"+1 217 555 0100\"/><OWNER NAME=\"Example Inc.\"/>\r\n"
    "<EMAIL ADDR=\"admin@example.com\"/><LANG LEX=\"en\" CODE=\"utf-8\"/>\r\n"
    "<LINKSIN NUM=\"4321\"/><SPEED TEXT=\"1234\" PCT=\"56\"/><CHILD SRATING=\"0\"/></SD>\r\n"
    "<SD><POPULARITY URL=\"example.com/\" TEXT=\"1234\"/><REACH RANK=\"1100\"/></SD></ALEXA>\r\n";

// edtAD1 .. edtAD14 (UTF-8) once both answers are in, for "example.com".
inline const char* const kDetailEdits[14] = {
    "示例网站 Example", "example.com", "admin@example.com", "1234", "1,204",
    "15-Aug-1995",      "US",          "utf-8",             "1234 Ms / 56分", "0",
    "4321",             "+1 217 555 0100", "1 Main St Springfield", "示例：一个网站"};
inline const char* const kDetailRankEdits[8] = {"1,234", "-", "1,250", "-",
                                                "1,301", "-", "1,410", "176"};

}  // namespace orlu::test

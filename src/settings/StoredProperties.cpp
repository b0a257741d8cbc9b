#include "StoredProperties.h"

namespace StoredProperties {

const std::vector<StoredProperty> &all()
{
    using P = StoredProperty;
    static const std::vector<StoredProperty> table = {
        {"Panel1_Width", P::Integer, "140"},
        {"TooltipsOn1_Checked", P::Boolean, "True"},
        {"Masklistbox_Items", P::StringList, ""},
        {"CreateCat_Left", P::Integer, "40"},
        {"CreateCat_Top", P::Integer, "8"},
        {"Filecommentdlg_Left", P::Integer, "56"},
        {"Filecommentdlg_Top", P::Integer, "8"},
        {"predefinedbox_Items", P::StringList, ""},
        {"SandRdlg_Left", P::Integer, "160"},
        {"SandRdlg_Top", P::Integer, "24"},
        {"Printsetupdlg_Left", P::Integer, "120"},
        {"Printsetupdlg_Top", P::Integer, "16"},
        {"CheckBox1_Checked", P::Boolean, "True"},
        {"CheckBox2_Checked", P::Boolean, "True"},
        {"CheckBox3_Checked", P::Boolean, "True"},
        {"CheckBox4_Checked", P::Boolean, "True"},
        {"RadioGroup1_ItemIndex", P::Integer, "0"},
        {"Searchtabledlg_Left", P::Integer, "192"},
        {"Searchtabledlg_Top", P::Integer, "16"},
        {"Searchcatdlg_Left", P::Integer, "64"},
        {"Searchcatdlg_Top", P::Integer, "24"},
        {"Dupdlg_Left", P::Integer, "152"},
        {"Dupdlg_Top", P::Integer, "32"},
        {"Updatedlg_Left", P::Integer, "160"},
        {"Updatedlg_Top", P::Integer, "8"},
        {"Hiddendirs_Checked", P::Boolean, "True"},
        {"Hiddenfiles_Checked", P::Boolean, "True"},
        {"Readonly_Checked", P::Boolean, "True"},
        {"System_Checked", P::Boolean, "True"},
        {"Subdir_Checked", P::Boolean, "True"},
        {"Zipfiles_Checked", P::Boolean, "False"},
        {"FontDialog1_Font", P::Font, ""},
        {"Aboutdlg_Left", P::Integer, "200"},
        {"Aboutdlg_Top", P::Integer, "32"},
        {"Comparename_Checked", P::Boolean, "True"},
        {"Comparesize_Checked", P::Boolean, "True"},
        {"Comparedate_Checked", P::Boolean, "True"},
        // Colours are stored as Windows colour values (0x00BBGGRR): yellow, black.
        {"Hintcolorcombo_ColorValue", P::Integer, "65535"},
        {"Textcolorcombo_ColorValue", P::Integer, "0"},
        {"Colordlg_Left", P::Integer, "216"},
        {"Colordlg_Top", P::Integer, "24"},
        {"Confirmzip_Checked", P::Boolean, "False"},
        {"Catcommdlg_Left", P::Integer, "88"},
        {"Catcommdlg_Top", P::Integer, "16"},
        // Not stored by the earlier versions; kept like every other panel's.
        {"Upgradedlg_Left", P::Integer, "176"},
        {"Upgradedlg_Top", P::Integer, "24"},
        {"Searchword_Items", P::StringList, ""},
        {"Singledlg_Left", P::Integer, "168"},
        {"Singledlg_Top", P::Integer, "40"},
        {"Singlename_Checked", P::Boolean, "True"},
        {"Singlesize_Checked", P::Boolean, "True"},
        {"Singledate_Checked", P::Boolean, "True"},
    };
    return table;
}

const StoredProperty *find(const QString &key)
{
    for (const StoredProperty &p : all()) {
        if (key.compare(QLatin1String(p.key), Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

const std::vector<FontAttribute> &fontAttributes()
{
    // The colour is the system window-text colour; the charset the default one.
    static const std::vector<FontAttribute> attributes = {
        {"Charset", "1"},       {"Color", "-16777208"}, {"Height", "-11"}, {"Name", "MS Sans Serif"},
        {"Pitch", "fpDefault"}, {"Size", "8"},          {"Style", "[]"},
    };
    return attributes;
}

} // namespace StoredProperties

#include "app/FormAbout.h"

#include "liba/StringTranslator.h"
#include "os/LanguageFile.h"
#include "os/Log.h"
#include "os/Shell.h"
#include "platform/core/Launcher.h"
#include "platform/core/MessageBox.h"
#include "skinner/graphics/Image.h"
#include "skinner/skin/Properties.h"

#include <string>

using liba::literals::operator""_key;

namespace {

const std::u16string portal_file = u"%app_path%/portal.txt";
// A key of that file, not of the language file.
constexpr std::u16string_view portal_key = u"Portal";
// A path inside the folder, which is what the picture loader takes.
const std::u16string logo_folder = u"%app_path%/fun/";

skinner::Size size_of(const skinner::Picture& picture)
{
    const skinner::Image* image = picture.get_image();
    return image ? skinner::Size { image->width(), image->height() } : skinner::Size {};
}

bool holds_image(const skinner::Picture& picture)
{
    return picture.get_image() && picture.get_image()->is_valid();
}

skinner::Picture load_logo(const skinner::Properties& properties, const std::u16string& key, const char16_t* label)
{
    const skinner::Picture picture = skinner::Picture::from_file(logo_folder, properties.translate(key), false);
    const skinner::Size size = size_of(picture);
    os::log() << label << size.width << u"," << size.height << u"'\n";
    return picture;
}

}

FormAbout::FormAbout(
    skinner::Form* parent, skinner::Properties& properties, std::u16string_view product, std::u16string_view form_name)
    : Form(parent, properties, form_name)
    , AboutControls(static_cast<skinner::Form&>(*this))
    , m_menu(*this, u"MenuMain")
{
    m_product.set_text(product);
    m_portal = os::read_language_file(portal_file).translate(portal_key, u"");
    show_logo();
}

FormAbout::~FormAbout() = default;

void FormAbout::show_logo()
{
    const skinner::Properties& store = properties();
    const skinner::Picture small = load_logo(store, m_portal + u"_LOGO_S", u"picture small = '");
    const skinner::Picture middle = load_logo(store, m_portal + u"_LOGO_M", u"picture middle = '");
    const skinner::Size room = m_logo.size();
    const skinner::Size middle_size = size_of(middle);
    const bool middle_fits
        = holds_image(middle) && middle_size.width <= room.width && middle_size.height <= room.height;
    const skinner::Picture& chosen = middle_fits ? middle : small;
    if (!holds_image(chosen)) {
        m_logo.set_visible(false);
        m_logo_link.set_visible(false);
        return;
    }
    m_logo.set_picture(chosen);
}

bool FormAbout::on_click(skinner::Control& sender)
{
    if (sender.id() == u"btnOk") {
        close();
        return true;
    }
    if (&sender == &m_logo_link) {
        open_address(m_portal + u"_LOGO_URL");
        return true;
    }
    if (&sender == &m_maker_link) {
        open_address(u"Qiro_URL"_key);
        return true;
    }
    return false;
}

// The address goes to the desktop's opener as one argument; no shell reads it.
void FormAbout::open_address(std::u16string_view key)
{
    // Told as the mail command tells of a missing mail program, through the
    // program's message box: this form's skin has no error form.
    if (!platform::is_installed(platform::desktop_opener())) {
        platform::message_box(properties().translate(u"on_no_desktop_opener"_key),
            properties().translate(u"on_no_web_opener_caption"_key));
        return;
    }
    os::open_url(properties().translate(key));
}

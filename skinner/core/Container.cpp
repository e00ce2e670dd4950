#include "skinner/core/Container.h"

#include "os/Log.h"
#include "skinner/skin/Edition.h"
#include "skinner/widgets/AutoControls.h"
#include "skinner/core/Form.h"
#include "skinner/skin/Properties.h"

#include <algorithm>

namespace skinner {

Container::Container(Form& form, Properties& properties, std::u16string_view name, ControlMode mode, Listener* listener)
    : m_mode(mode)
    , m_properties(&properties)
    , m_name(mode == ControlMode::kind ? std::u16string() : std::u16string(name))
    , m_kind(mode == ControlMode::kind ? std::u16string(name) : std::u16string())
    , m_listener(listener)
    , m_form(&form)
{
    load_layout();
    m_size = m_reference_size;
}

Container::~Container()
{
    delete_auto_controls();
}

void Container::load_layout()
{
    if (m_mode == ControlMode::unskinned || m_name.empty())
        return;
    const Point size = get_property_point(u"Size", {});
    const Point chosen = is_smartphone ? get_property_point(u"SizeNoButtons", size) : size;
    m_reference_size = { chosen.x, chosen.y };
}

void Container::create_auto_controls()
{
    if (m_mode == ControlMode::unskinned || m_name.empty())
        return;
    const std::uint32_t count = m_properties->get_form_template_count(m_name);
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto [control, type] = m_properties->get_form_template(m_name, i);
        if (auto made = make_auto_control(*this, type, control))
            m_auto_controls.push_back(std::move(made));
    }
}

void Container::delete_auto_controls()
{
    while (!m_auto_controls.empty())
        m_auto_controls.pop_back();
}

void Container::register_control(Control& control)
{
    if (!control.id().empty() && get_control(control.id()))
        os::fatal_error(u"Container::register_control",
            u"control with id {" + control.id() + u"} already exists in container");
    const auto place = std::lower_bound(m_children.begin(), m_children.end(), &control, Control::compare_z_order);
    m_children.insert(place, &control);
    lay_out(control);
}

void Container::unregister_control(Control& control)
{
    if (m_focused == &control)
        m_focused = nullptr;
    if (m_captured == &control) {
        m_captured = nullptr;
        m_pressed = {};
    }
    if (m_hover == &control)
        m_hover = nullptr;
    if (control.timer_id() != 0)
        control.kill_timer();
    std::erase(m_children, &control);
}

Control* Container::get_control(std::u16string_view id) const
{
    for (Control* child : m_children)
        if (child->id() == id)
            return child;
    return nullptr;
}

namespace {

// One axis of a child's placement in its container.
struct Span {
    std::int32_t start;
    std::int32_t length;
};

std::int32_t scale(std::int64_t value, std::int32_t now, std::int32_t reference)
{
    return std::int32_t(value * now / reference);
}

Span place(Anchor anchor, std::int32_t origin, std::int32_t now, std::int32_t reference, std::int32_t skin_start,
    std::int32_t skin_length)
{
    switch (anchor) {
    case Anchor::both_sides:
        return { origin + skin_start, skin_length - reference + now };
    case Anchor::max_side:
        return { origin + skin_start + now - reference, skin_length };
    case Anchor::ratio:
        if (reference == 0)
            return { origin + skin_start, skin_length };
        return { origin + scale(skin_start, now, reference),
            scale(std::int64_t(skin_start) + skin_length, now, reference) - scale(skin_start, now, reference) };
    case Anchor::center: {
        // Without a reference length there is nothing to scale by: keep the skin's place.
        if (reference == 0)
            return { origin + skin_start, skin_length };
        const std::int32_t half = skin_length / 2;
        return { origin + scale(std::int64_t(skin_start) + half, now, reference) - half, skin_length };
    }
    case Anchor::min_side:
        break;
    }
    return { origin + skin_start, skin_length };
}

}

void Container::lay_out(Control& child) const
{
    const Span x = place(child.anchor_x(), m_position.x, m_size.width, m_reference_size.width,
        child.skin_position().x, child.skin_size().width);
    const Span y = place(child.anchor_y(), m_position.y, m_size.height, m_reference_size.height,
        child.skin_position().y, child.skin_size().height);
    child.set_rect({ x.start, y.start }, { x.length, y.length });
}

void Container::set_rect(Point position, Size size)
{
    m_position = position;
    m_size = size;
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it)
        lay_out(**it);
}

void Container::reload_skin()
{
    delete_auto_controls();
    load_layout();
    create_auto_controls();
    for (Control* child : std::vector<Control*>(m_children))
        child->load();
    sort_by_z_order();
}

void Container::sort_by_z_order()
{
    std::stable_sort(m_children.begin(), m_children.end(), Control::compare_z_order);
}

Size Container::get_extent() const
{
    Size extent = m_reference_size;
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it) {
        const Control& child = **it;
        Size wanted = child.get_preferred_size();
        if (child.anchor_x() == Anchor::both_sides)
            wanted.width = m_reference_size.width - child.skin_size().width + wanted.width;
        if (child.anchor_y() == Anchor::both_sides)
            wanted.height = m_reference_size.height - child.skin_size().height + wanted.height;
        extent = { std::max(extent.width, wanted.width), std::max(extent.height, wanted.height) };
    }
    return extent;
}

void Container::paint(Canvas& canvas, Point area_position, Size area_size)
{
    const std::int64_t right = std::int64_t(area_position.x) + area_size.width;
    const std::int64_t bottom = std::int64_t(area_position.y) + area_size.height;
    for (Control* child : std::vector<Control*>(m_children)) {
        const Point p = child->position();
        const Size s = child->size();
        if (child->is_visible() && p.x < right && p.y < bottom && std::int64_t(p.x) + s.width > area_position.x
            && std::int64_t(p.y) + s.height > area_position.y)
            child->paint(canvas, area_position, area_size);
    }
}

// Focus

void Container::set_focus(Control* child)
{
    if (child == m_focused)
        return;
    if (m_active && m_focused)
        m_focused->on_focus_lost();
    m_focused = child;
    if (m_active && m_focused)
        m_focused->on_focus_gained();
}

void Container::set_active(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    if (active) {
        if (!m_focused)
            focus_next(true);
        if (m_focused)
            m_focused->on_focus_gained();
    } else if (m_focused) {
        m_focused->on_focus_lost();
    }
}

bool Container::focus_next(bool forward)
{
    std::vector<Control*> candidates;
    for (Control* child : m_children)
        if (child->wants_focus() && child->is_visible() && child->is_enabled())
            candidates.push_back(child);
    std::stable_sort(candidates.begin(), candidates.end(), Control::compare_tab_order);
    if (candidates.empty()) {
        set_focus(nullptr);
        return false;
    }
    const auto current = std::find(candidates.begin(), candidates.end(), m_focused);
    Control* chosen = nullptr;
    bool wrapped = false;
    if (forward) {
        if (current == candidates.end())
            chosen = candidates.front();
        else if (current + 1 == candidates.end()) {
            chosen = candidates.front();
            wrapped = true;
        } else
            chosen = *(current + 1);
    } else {
        if (current == candidates.begin()) {
            chosen = candidates.back();
            wrapped = true;
        } else if (current == candidates.end())
            chosen = candidates.back();
        else
            chosen = *(current - 1);
    }
    set_focus(chosen);
    return !wrapped;
}

// Keys and text

bool Container::on_text_input(std::u16string_view text)
{
    return m_focused && m_focused->on_text_input(text);
}

bool Container::on_keydown(KeyCode key)
{
    if (m_focused && m_focused->on_keydown(key))
        return true;
    if (key == key::tab && !is_key_down(2) && !is_key_down(3))
        return focus_next(!is_key_down(1));
    return false;
}

bool Container::on_keyup(KeyCode key)
{
    return m_focused && m_focused->on_keyup(key);
}

void Container::on_timer_broadcast(std::uint32_t timer_id)
{
    for (Control* child : std::vector<Control*>(m_children))
        if (std::find(m_children.begin(), m_children.end(), child) != m_children.end())
            child->on_timer_broadcast(timer_id);
}

bool Container::on_form_activate()
{
    return m_focused && m_focused->on_form_activate();
}

// Pen

Control* Container::topmost_at(Point point) const
{
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it)
        if ((*it)->is_visible() && (*it)->hit_test(point))
            return *it;
    return nullptr;
}

bool Container::get_gestures_at(Point point) const
{
    const Control* child = topmost_at(point);
    return child && child->wants_gestures_at(point);
}

bool Container::hit_child(Point point) const
{
    return topmost_at(point) != nullptr;
}

void Container::press(Control& child, int button, Point point, std::int32_t argument)
{
    switch (button) {
    case button_pen:
        child.on_pen_down(point, argument);
        break;
    case button_alt:
        child.on_alt_down(point, argument);
        break;
    default:
        child.on_context_down(point, argument);
        break;
    }
}

void Container::release(Control& child, int button, Point point, std::int32_t argument)
{
    switch (button) {
    case button_pen:
        child.on_pen_up(point, argument);
        break;
    case button_alt:
        child.on_alt_up(point, argument);
        break;
    default:
        child.on_context_up(point, argument);
        break;
    }
}

void Container::on_pen_down(int button, Point point, std::int32_t argument)
{
    if (button < 0 || button > 2)
        return;
    m_last_pen_point = point;
    if (m_captured) {
        m_pressed[std::size_t(button)] = true;
        press(*m_captured, button, point, argument);
        return;
    }
    Control* child = topmost_at(point);
    if (!child)
        return;
    if (!child->is_enabled()) {
        set_hover(nullptr);
        return;
    }
    set_hover(child);
    m_captured = child;
    if (child->wants_focus())
        set_focus(child);
    m_pressed[std::size_t(button)] = true;
    // The child may unregister itself while handling the press.
    if (m_captured == child)
        press(*child, button, point, argument);
}

void Container::on_pen_up(int button, Point point, std::int32_t argument)
{
    if (button < 0 || button > 2)
        return;
    m_last_pen_point = point;
    Control* child = m_captured;
    if (!child)
        return;
    m_pressed[std::size_t(button)] = false;
    if (std::none_of(m_pressed.begin(), m_pressed.end(), [](bool down) { return down; }))
        m_captured = nullptr;
    release(*child, button, point, argument);
}

void Container::on_pen_move(Point point)
{
    m_last_pen_point = point;
    if (m_captured) {
        m_captured->on_pen_move(point);
        return;
    }
    Control* child = topmost_at(point);
    if (!child || !child->is_enabled()) {
        set_hover(nullptr);
        return;
    }
    set_hover(child);
    if (m_hover == child)
        child->on_pen_move(point);
}

void Container::on_wheel(Point point, std::int32_t steps)
{
    if (Control* child = m_captured ? m_captured : topmost_at(point))
        child->on_wheel(point, steps);
}

void Container::set_hover(Control* child)
{
    if (child != m_hover) {
        Control* old = m_hover;
        m_hover = child;
        if (old) {
            old->on_pen_leave();
            old->invalidate();
        }
        if (child && m_hover == child) {
            child->on_pen_enter();
            child->invalidate();
        }
    }
    m_form->set_cursor(m_hover ? m_hover->get_cursor() : Cursor {});
}

void Container::clear_hover()
{
    if (!m_captured)
        set_hover(nullptr);
}

void Container::set_enabled(bool enabled)
{
    if (!enabled) {
        set_hover(nullptr);
        if (Control* child = m_captured) {
            for (int button = 0; button < 3; ++button) {
                m_pressed[std::size_t(button)] = false;
                if (m_captured == child)
                    release(*child, button, m_last_pen_point, 0);
            }
            m_captured = nullptr;
        }
    }
    m_enabled = enabled;
    for (Control* child : std::vector<Control*>(m_children))
        child->renotify_enabled();
}

void Container::set_visible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    for (Control* child : std::vector<Control*>(m_children))
        child->renotify_visible();
}

// The container's own keys

std::int32_t Container::get_property_int(std::u16string_view key, std::int32_t default_value) const
{
    return m_properties->get_form_property_int(m_name, key, default_value);
}

Point Container::get_property_point(std::u16string_view key, Point default_value) const
{
    return m_properties->get_form_property_point(m_name, key, default_value);
}

Picture Container::get_property_picture(std::u16string_view key, const Picture& default_value) const
{
    return m_properties->get_form_property_picture(m_name, key, default_value);
}

}

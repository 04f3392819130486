"""The built site in a real browser: headless Chromium opens build/site from disk and over a
loopback http server, searches it, follows the first hit and finds a function's entry and a
figure there.

Needs the site built by scripts/docs, selenium (the `docs` extra) and Debian's `chromium` and
`chromium-driver`; skipped, saying which is missing, where any is. CI sets QUORIN_SITE_TEST=1,
which turns those skips into failures.
"""

import functools
import http.server
import os
import pathlib
import shutil
import threading
import urllib.parse

import pytest

SITE = pathlib.Path(__file__).resolve().parent.parent / "build" / "site"
QUERIES = ["eGFR", "kidney", "RMSD", "fold"]
WAIT = 60  # seconds a page may take to show what is looked for (a loaded CI machine)


def missing() -> str | None:
    try:
        import selenium  # noqa: F401
    except ImportError:
        return "selenium is not installed (it is in the `docs` extra)"
    for program in ("chromium", "chromedriver"):
        if shutil.which(program) is None:
            return f"{program} is not installed (Debian: apt-get install chromium chromium-driver)"
    if not (SITE / "index.html").is_file():
        return "the site is not built (run scripts/docs)"
    return None


def require_or_skip():
    if reason := missing():
        if os.environ.get("QUORIN_SITE_TEST"):
            pytest.fail(f"QUORIN_SITE_TEST is set but {reason}")
        pytest.skip(reason)


@pytest.fixture(scope="module")
def browser():
    require_or_skip()
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service

    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium")
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu",
                     "--disable-dev-shm-usage", "--window-size=1280,1000"):
        options.add_argument(argument)
    # Not the sanitizer's preload of a suite run under scripts/sanitize: the browser is not ours.
    env = {k: v for k, v in os.environ.items() if not k.startswith(("LD_PRELOAD", "ASAN_"))}
    service = Service(executable_path=shutil.which("chromedriver"), env=env)
    driver = webdriver.Chrome(options=options, service=service)
    yield driver
    driver.quit()


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, format, *args):
        pass


@pytest.fixture(scope="module")
def served():
    require_or_skip()
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(QuietHandler, directory=str(SITE)))
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    yield f"http://127.0.0.1:{server.server_address[1]}/"
    server.shutdown()
    server.server_close()


@pytest.fixture(params=["disk", "http"])
def origin(request):
    if request.param == "disk":
        require_or_skip()
        return SITE.as_uri() + "/"
    return request.getfixturevalue("served")


@pytest.mark.parametrize("query", QUERIES)
def test_search_leads_to_an_entry_with_a_figure(browser, origin, query):
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support import expected_conditions as shown
    from selenium.webdriver.support.ui import WebDriverWait

    wait = WebDriverWait(browser, WAIT)
    browser.get(urllib.parse.urljoin(origin, "search.html"))
    box = wait.until(shown.visibility_of_element_located(  # the page's own form, not the dialog's
        (By.CSS_SELECTOR, "form.bd-search:has(+ #search-results) input[name=q]")))
    box.clear()
    box.send_keys(query, Keys.ENTER)
    # Only once the last hit is listed does the summary above the list get its line, which
    # moves the list down: a click before that may land beside the link.
    wait.until(shown.text_to_be_present_in_element(
        (By.CSS_SELECTOR, "#search-results p.search-summary"), "Search finished"))
    first = wait.until(shown.element_to_be_clickable(
        (By.CSS_SELECTOR, "#search-results ul.search li a")))
    target = first.get_attribute("href")
    first.click()
    wait.until(lambda d: d.current_url.split("#")[0] == target.split("#")[0])

    entry = wait.until(shown.visibility_of_element_located((By.CSS_SELECTOR, "dl.py.function")))
    assert entry.find_element(By.CSS_SELECTOR, "dt.sig").text.startswith(("quorin", "quorin_np"))
    figure = wait.until(shown.visibility_of_element_located((By.CSS_SELECTOR, "figure img")))
    assert browser.execute_script("return arguments[0].complete && arguments[0].naturalWidth",
                                  figure) > 0, f"the figure of {target} did not load"

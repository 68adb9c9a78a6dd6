"""The installer and the ZIP that cpack made last; scripts/windows-build makes
both after building. A package older than the program would test old code."""

import os


def built_package(variable):
    path = os.environ[variable]
    program = os.environ["VEXA_PROGRAM"]
    if not os.path.exists(path) or os.path.getmtime(path) < os.path.getmtime(program):
        raise AssertionError(f"{path} is missing or older than {program}: "
                             "scripts/windows-build makes it")
    return path

! Host program in Fortran: the reading of query_host.c (its comment describes the model
! and which of its values are checked), as a Fortran analysis program makes it: every
! argument by reference through the interfaces of the module kvr7dbio, every text a
! blank-padded CHARACTER variable of the length the routine takes. The model file is named
! by the first argument or, without one, by the environment variable KVR_QUERY_MODEL.
program query_host
  use kvr7dbio
  use, intrinsic :: iso_c_binding, only: c_int32_t, c_char, c_float
  implicit none

  integer(c_int32_t), parameter :: NODE0 = 1000, ELEM0 = 5000, MAXNODES = 20, ROOMY = 65536
  integer(c_int32_t), parameter :: BLANKS = int(z'20202000', c_int32_t)

  integer :: passed = 0, failed = 0
  ! The highest node of the model, read from its size vector once it is open.
  integer(c_int32_t) :: N = 0
  character(len=80) :: model
  integer :: length, found

  call get_command_argument(1, model, length, found)
  if (found /= 0 .or. length == 0) then
    call get_environment_variable('KVR_QUERY_MODEL', model, length, found)
  end if
  if (found /= 0 .or. length == 0) then
    print '(A)', 'FAILED: no model file (an argument or KVR_QUERY_MODEL of 80 characters)'
    stop 1
  end if

  call open_model()
  call sizes()
  call points()
  call nodes()
  call elements()
  call names()
  call text_codes()
  call sets()
  call node_lists()

  print '(I0, A, I0, A)', passed, ' passed, ', failed, ' failed'
  if (failed /= 0) stop 1

contains

  subroutine expect(ok, what)
    logical, intent(in) :: ok
    character(len=*), intent(in) :: what
    if (ok) then
      passed = passed + 1
    else
      failed = failed + 1
      print '(2A)', 'FAILED ', what
    end if
  end subroutine

  subroutine expect_int(got, want, what)
    integer(c_int32_t), intent(in) :: got, want
    character(len=*), intent(in) :: what
    if (got /= want) print '(A, I0, A, I0)', 'got ', got, ', not ', want
    call expect(got == want, what)
  end subroutine

  ! Whether the REALs GOT are exactly WANT, compared as their bits.
  logical function same(got, want)
    real(c_float), dimension(:), intent(in) :: got, want
    same = all(transfer(got, 0_c_int32_t, size(got)) == transfer(want, 0_c_int32_t, size(want)))
  end function

  ! The code of character C: the character in the lowest byte, three blanks above it.
  integer(c_int32_t) function code(c)
    character, intent(in) :: c
    code = ior(BLANKS, int(ichar(c), c_int32_t))
  end function

  ! The status of dll_ustrt2 on FILE with a work array of WORDS words.
  integer(c_int32_t) function start(file, words) result(status)
    character(len=*), intent(in) :: file
    integer(c_int32_t), intent(in) :: words
    character(len=80) :: name
    integer(c_int32_t), dimension(:), allocatable :: work
    name = file
    allocate(work(max(words, 1)))
    work = 0
    call dll_ustrt2(name, work, words, status)
  end function

  subroutine open_model()
    character(len=80) :: lower
    integer(c_int32_t), dimension(20) :: counts
    call expect_int(start(' ', ROOMY), 1, 'dll_ustrt2 blank name')
    call expect_int(start('no_such_model.DMP', ROOMY), 1, 'dll_ustrt2 missing file')
    call expect_int(start(model, ROOMY), 0, 'dll_ustrt2')
    call dll_usize(counts)
    N = counts(6)
    if (N < 16 .or. N > ROOMY / 2) then
      print '(A, I0)', 'the highest node is ', N
      call expect(.false., 'the highest node')
      N = 16
    end if
    call expect_int(start(model, 2 * N - 1), 9, 'dll_ustrt2 work of 2N - 1')
    call expect_int(start(model, 2 * N), 0, 'dll_ustrt2 after a failed start')
    ! The same file named in lower case (ending ".dmp").
    lower = model
    if (length >= 4) then
      if (lower(length - 3:length) == '.DMP') lower(length - 3:length) = '.dmp'
    end if
    call expect_int(start(lower, 2 * N), 0, 'dll_ustrt2 lower-case name')
  end subroutine

  ! The status of dll_unamg2 for entity NUMBER of KIND.
  integer(c_int32_t) function name_status(kind, number) result(status)
    integer(c_int32_t), intent(in) :: kind, number
    character(len=8) :: name
    call dll_unamg2(kind, number, name, status)
  end function

  subroutine sizes()
    ! The counts of the model's first part at positions 1-4, 6, 8-10, 12, 13, 16, 19 and
    ! 20: appended entities only raise them. Positions 7, 15, 17 and 18 are fixed.
    integer, dimension(13), parameter :: COUNTED = [1, 2, 3, 4, 6, 8, 9, 10, 12, 13, 16, 19, 20]
    integer(c_int32_t), dimension(13), parameter :: LEAST = [4, 5, 3, 1, 16, 4, 6, 1, 4, 3, 0, 3, 7]
    integer, dimension(4), parameter :: FIXED = [7, 15, 17, 18]
    integer(c_int32_t), dimension(4), parameter :: VALUES = [20, 20, NODE0, ELEM0]
    integer(c_int32_t), dimension(20) :: narrow
    integer(c_int32_t), dimension(50) :: wide
    integer(c_int32_t), dimension(MAXNODES) :: list
    integer(c_int32_t) :: status, count
    character(len=8) :: name
    real(c_float), dimension(3) :: xyz
    call dll_usize(narrow)
    call expect(all(narrow(COUNTED) >= LEAST), 'dll_usize counts of the first part')
    call expect(all(narrow(FIXED) == VALUES), 'dll_usize 7, 15, 17 and 18')
    ! The counts name the last entity of their kind: sets (stored sets less one), lines,
    ! points and elements.
    call expect_int(name_status(7_c_int32_t, narrow(9)), 0_c_int32_t, &
                    'dll_usize 9 names the last set')
    call expect_int(name_status(7_c_int32_t, narrow(9) + 1), 2_c_int32_t, &
                    'dll_usize 9 + 1 is no set')
    call expect_int(name_status(2_c_int32_t, narrow(2)), 0_c_int32_t, &
                    'dll_usize 2 names the last line')
    call expect_int(name_status(2_c_int32_t, narrow(2) + 1), 2_c_int32_t, &
                    'dll_usize 2 + 1 is no line')
    call dll_upnt2(narrow(1) + 1, name, xyz, status)
    call expect_int(status, 1_c_int32_t, 'dll_usize 1 + 1 is no point')
    call dll_uelem(ELEM0 + narrow(8), list, count, status)
    call expect_int(status, 0_c_int32_t, 'dll_usize 8 is the last element')
    call dll_uelem(ELEM0 + narrow(8) + 1, list, count, status)
    call expect_int(status, 1_c_int32_t, 'dll_usize 8 + 1 is no element')
    wide = -1
    call dll_usiz2(wide)
    call expect(all(wide(1:20) == narrow), 'dll_usiz2 positions 1 to 20 as dll_usize')
    call expect(all(wide(22:29) == 0) .and. all(wide(33:50) == 0), &
                'dll_usiz2 positions 22 to 29 and 33 to 50 are 0')
  end subroutine

  subroutine points()
    character(len=8) :: name
    real(c_float), dimension(3) :: xyz
    integer(c_int32_t) :: status
    call dll_upnt2(3_c_int32_t, name, xyz, status)
    call expect_int(status, 0_c_int32_t, 'dll_upnt2 P3')
    call expect(name == 'P3', 'dll_upnt2 P3 name')
    call expect(same(xyz, [3.0, 0.0, 0.0]), 'dll_upnt2 P3 at (3, 0, 0)')
    ! The deleted point and a number past the last leave the outputs alone.
    name = '########'
    xyz = -9.0
    call dll_upnt2(2_c_int32_t, name, xyz, status)
    call expect_int(status, 2_c_int32_t, 'dll_upnt2 deleted P2')
    call expect(name == '########' .and. same(xyz, [-9.0, -9.0, -9.0]), &
                'dll_upnt2 deleted P2 untouched')
    call dll_upnt2(0_c_int32_t, name, xyz, status)
    call expect_int(status, 1_c_int32_t, 'dll_upnt2 point 0')
  end subroutine

  subroutine nodes()
    real(c_float), dimension(3) :: xyz
    integer(c_int32_t) :: status
    xyz = -9.0
    call dll_unode(NODE0, xyz, status)
    call expect_int(status, 1_c_int32_t, 'dll_unode 1000')
    call expect(same(xyz, [-9.0, -9.0, -9.0]), 'dll_unode 1000 xyz untouched')
    call dll_unode(NODE0 + 16, xyz, status)
    call expect_int(status, 0_c_int32_t, 'dll_unode 1016')
    call expect(same(xyz, [3.0, 1.0, 0.0]), 'dll_unode 1016 at (3, 1, 0)')
    call dll_unode(NODE0 + 11, xyz, status)
    call expect_int(status, 0_c_int32_t, 'dll_unode 1011')
    call expect(same(xyz, [1.0, 1.0, 2.0]), 'dll_unode 1011 at (1, 1, 2)')
    call dll_unode(NODE0 + N + 1, xyz, status)
    call expect_int(status, 1_c_int32_t, 'dll_unode past the highest node')
  end subroutine

  subroutine elements()
    integer(c_int32_t), dimension(MAXNODES) :: list
    integer(c_int32_t) :: count, status, k
    call dll_uelem(ELEM0 + 3, list, count, status)
    call expect_int(status, 0_c_int32_t, 'dll_uelem IL22')
    call expect_int(count, 4_c_int32_t, 'dll_uelem IL22 count')
    call expect(all(list(1:4) == [1005, 1006, 1008, 1007]), &
                'dll_uelem IL22 nodes, its second side reversed')
    call dll_uelem(ELEM0 + 2, list, count, status)
    call expect_int(count, 8_c_int32_t, 'dll_uelem HE8 count')
    call expect(all(list(1:8) == [(NODE0 + 4 + k, k = 1, 8)]), 'dll_uelem HE8 nodes')
    call dll_uelem(ELEM0, list, count, status)
    call expect_int(status, 1_c_int32_t, 'dll_uelem 5000')
    call expect_int(count, 0_c_int32_t, 'dll_uelem 5000 count')
  end subroutine

  subroutine names()
    integer, parameter :: CASES = 14
    integer(c_int32_t), dimension(CASES), parameter :: KINDS = &
        [7, 7, 1, 2, 3, 4, 10, 30, 33, 0, 8, -1, 1, 7]
    integer(c_int32_t), dimension(CASES), parameter :: NUMBERS = &
        [1, 6, 1, 5, 1, 1, 1, 3, 1, 1, 1, 1, 2, 0]
    ! The model's name is eight blanks; nodes (kind 8) and kind -1 have no names; the
    ! deleted point and stored set 1 (no set) leave the name as it was.
    character(len=8), dimension(CASES), parameter :: WANT = [character(len=8) :: &
        'MIXED', 'PNTSRF', 'P1', 'C2', 'S1', 'BLOCK001', 'STEEL', 'LEMPTY', 'FIX', ' ', &
        '????????', '????????', '########', '########']
    integer(c_int32_t), dimension(CASES), parameter :: STATUSES = &
        [0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 2, 2]
    character(len=8) :: name
    character(len=40) :: what
    integer(c_int32_t) :: status
    integer :: k
    do k = 1, CASES
      name = '########'
      call dll_unamg2(KINDS(k), NUMBERS(k), name, status)
      write (what, '(A, I0, A, I0, A)') 'dll_unamg2 (', KINDS(k), ', ', NUMBERS(k), ')'
      call expect_int(status, STATUSES(k), trim(what))
      call expect(name == WANT(k), trim(what) // ' name')
    end do
  end subroutine

  subroutine text_codes()
    integer(c_int32_t), dimension(260) :: codes
    integer(c_int32_t) :: last, kind, first, end, ivalue
    real(c_float) :: rvalue
    character(len=81) :: text
    character(len=80) :: want
    character(len=6) :: line
    integer :: k

    ! Codes to text: none gives 80 blanks; 100 give the first 80 and nothing past them.
    do k = 1, 100
      codes(k) = code(achar(iachar('A') + mod(k - 1, 26)))
      if (k <= 80) want(k:k) = achar(iachar('A') + mod(k - 1, 26))
    end do
    text = repeat('#', 81)
    call dll_ua1cha(codes, 0_c_int32_t, text)
    call expect(text(1:80) == ' ', 'dll_ua1cha 0 codes')
    call dll_ua1cha(codes, 100_c_int32_t, text)
    call expect(text(1:80) == want .and. text(81:81) == '#', &
                'dll_ua1cha 100 codes give the first 80')

    ! Text to codes: up to "*.", nothing for a blank text, a negative length or start 0.
    codes(1:4) = -5
    line = 'AB*.CD'
    call dll_uslcha(line, 6_c_int32_t, 1_c_int32_t, codes, last)
    call expect_int(last, 2_c_int32_t, 'dll_uslcha AB*.CD last')
    call expect(codes(1) == code('A') .and. codes(2) == code('B') .and. codes(3) == -5, &
                'dll_uslcha AB*.CD codes')
    line = ' '
    call dll_uslcha(line, 6_c_int32_t, 3_c_int32_t, codes, last)
    call expect_int(last, 2_c_int32_t, 'dll_uslcha blank text last')
    line = 'XY'
    call dll_uslcha(line, -4_c_int32_t, 3_c_int32_t, codes, last)
    call expect_int(last, 2_c_int32_t, 'dll_uslcha negative length last')
    call dll_uslcha(line, 2_c_int32_t, 0_c_int32_t, codes, last)
    call expect_int(last, -1_c_int32_t, 'dll_uslcha start 0 last')
    call expect(all(codes(3:4) == -5), 'dll_uslcha stores nothing more')

    ! Upper case at 250 to 260 changes 250 to 255 only.
    codes = code('a')
    call dll_ucconv(codes, 250_c_int32_t, 260_c_int32_t)
    call expect(all(codes(1:249) == code('a')) .and. all(codes(250:255) == code('A')) .and. &
                all(codes(256:260) == code('a')), 'dll_ucconv 250 to 260')

    ! The next token of "  12  ".
    line = '  12'
    do k = 1, 6
      codes(k) = code(line(k:k))
    end do
    call dll_udecod(codes, 1_c_int32_t, 6_c_int32_t, 0_c_int32_t, kind, first, end, ivalue, &
                    rvalue)
    call expect_int(kind, 2_c_int32_t, 'dll_udecod kind')
    call expect_int(first, 3_c_int32_t, 'dll_udecod first')
    call expect_int(end, 4_c_int32_t, 'dll_udecod end')
    call expect_int(ivalue, 12_c_int32_t, 'dll_udecod integer')
    call expect(same([rvalue], [12.0]), 'dll_udecod real')
  end subroutine

  subroutine sets()
    character(len=8) :: name
    integer(c_int32_t), dimension(10) :: list
    integer(c_int32_t) :: count, status
    call dll_uset2(1_c_int32_t, 2_c_int32_t, name, list, 10_c_int32_t, count, status)
    call expect_int(status, 0_c_int32_t, 'dll_uset2 MIXED lines')
    call expect(name == 'MIXED', 'dll_uset2 MIXED name')
    call expect_int(count, 2_c_int32_t, 'dll_uset2 MIXED line count')
    call expect(all(list(1:2) == [1, 3]), 'dll_uset2 MIXED lines 1 and 3')
    call dll_uset2(2_c_int32_t, 2_c_int32_t, name, list, 10_c_int32_t, count, status)
    call expect_int(status, 3_c_int32_t, 'dll_uset2 SURFS lines')
    call dll_uset2(2_c_int32_t, 3_c_int32_t, name, list, 10_c_int32_t, count, status)
    call expect_int(status, 0_c_int32_t, 'dll_uset2 SURFS surfaces')
    call expect_int(count, 2_c_int32_t, 'dll_uset2 SURFS surface count')
    call expect(all(list(1:2) == [1, 2]), 'dll_uset2 SURFS surfaces 1 and 2')
    list(1) = -1
    call dll_uset2(1_c_int32_t, 2_c_int32_t, name, list, 0_c_int32_t, count, status)
    call expect_int(status, 9_c_int32_t, 'dll_uset2 size 0')
    call expect_int(count, 0_c_int32_t, 'dll_uset2 size 0 count')
    call expect_int(list(1), -1_c_int32_t, 'dll_uset2 size 0 writes no member')
  end subroutine

  subroutine node_lists()
    integer(c_int32_t), dimension(:), allocatable :: every
    integer(c_int32_t), dimension(MAXNODES) :: list
    integer(c_int32_t) :: count, status
    integer(c_int32_t) :: k

    ! Every node, 1001 to 1000 + N, in an array of N; none in one of N - 1.
    allocate(every(N + 1))
    every = -1
    call dll_unodeg(0_c_int32_t, 0_c_int32_t, count, every, N, status)
    call expect_int(status, 0_c_int32_t, 'dll_unodeg all nodes')
    call expect_int(count, N, 'dll_unodeg all nodes count')
    call expect(all(every(1:N) == [(NODE0 + k, k = 1, N)]), 'dll_unodeg all nodes 1001 to 1000 + N')
    every = -1
    call dll_unodeg(0_c_int32_t, 0_c_int32_t, count, every, N - 1, status)
    call expect_int(status, 9_c_int32_t, 'dll_unodeg all nodes in N - 1')
    call expect_int(count, 0_c_int32_t, 'dll_unodeg all nodes in N - 1 count')
    call expect(all(every(N:N + 1) == -1), 'dll_unodeg writes nothing past the array')

    call dll_unodeg(2_c_int32_t, 3_c_int32_t, count, list, MAXNODES, status)
    call expect_int(status, 0_c_int32_t, 'dll_unodeg type-4 line')
    call expect_int(count, 3_c_int32_t, 'dll_unodeg type-4 line count')
    call expect(all(list(1:3) == [1010, 1011, 1012]), 'dll_unodeg type-4 line nodes')
    call dll_unodeg(3_c_int32_t, 2_c_int32_t, count, list, MAXNODES, status)
    call expect_int(status, 3_c_int32_t, 'dll_unodeg surface listing 0 first')
    call dll_unodeg(2_c_int32_t, 0_c_int32_t, count, list, MAXNODES, status)
    call expect_int(status, 1_c_int32_t, 'dll_unodeg line 0')

    ! The body's 12 nodes exceed half the limit of 20: status 2, the nodes returned.
    call dll_unodeg(4_c_int32_t, 1_c_int32_t, count, list, MAXNODES, status)
    call expect_int(status, 2_c_int32_t, 'dll_unodeg BLOCK001')
    call expect_int(count, 12_c_int32_t, 'dll_unodeg BLOCK001 count')
    call expect(all(list(1:12) == [(NODE0 + k, k = 1, 12)]), 'dll_unodeg BLOCK001 nodes')

    ! A set of a node, an element and a line: the line's nodes.
    call dll_unodeg(7_c_int32_t, 4_c_int32_t, count, list, MAXNODES, status)
    call expect_int(status, 0_c_int32_t, 'dll_unodeg set NODELINE')
    call expect_int(count, 3_c_int32_t, 'dll_unodeg set NODELINE count')
    call expect(all(list(1:3) == [1010, 1011, 1012]), 'dll_unodeg set NODELINE nodes')
  end subroutine

end program query_host
